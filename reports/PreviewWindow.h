#pragma once
// PreviewWindow: a report on screen, a page at a time, in its own window that does not block
// the main window.
//
// The first page shows at once: pages are painted as they are shown (ReportPages), never all
// before the first, and only a few are kept, so the window holds little whatever the report's
// length. While the clerk looks, the rest of the report is laid out a slice at a time between
// events, to tell the number of pages; 最後一頁 finishes that first when it has not.
//
// Its tool bar: 第一頁, 上一頁, 下一頁, 最後一頁, the page number (typed to go to a page) with the
// number of pages, 縮小, 放大, 符合寬度, and 列印 and 匯出 PDF, which the window's owner carries
// out.

#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "ReportCanvas.h"

class QAction;
class QLabel;
class QScrollArea;
class QSpinBox;
class QTimer;

namespace reports {

class ReportPages;
class SalaryReport;
class PageView;

class PreviewWindow : public QWidget {
  Q_OBJECT

 public:
  PreviewWindow(SalaryReport& report, const QString& title, QWidget* parent = nullptr);
  ~PreviewWindow() override;

  // Builds the report anew from its tables and shows its first page. Throws store::EngineError.
  void showReport();

  // What 列印 and 匯出 PDF do.
  void setPrint(std::function<void()> print) { print_ = std::move(print); }
  void setExportPdf(std::function<void()> exportPdf) { exportPdf_ = std::move(exportPdf); }

  int currentPage() const { return current_; }
  // The number of pages once known, else 0.
  int pageCount() const;
  double zoom() const { return zoom_; }
  // The texts of the page shown.
  const std::vector<PlacedText>& shownTexts() const;

  void goToPage(int number);
  void setZoom(double zoom);

 protected:
  void hideEvent(QHideEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void layOutMore();
  void showPage(int number);
  void updateControls();
  void fitWidth();
  QAction* makeAction(const char* name, const QString& text, const QKeySequence& key,
                      const std::function<void()>& handler);

  SalaryReport& report_;
  std::unique_ptr<ReportPages> pages_;
  std::map<int, std::vector<PlacedText>> kept_;  // the pages painted last
  std::vector<int> keptOrder_;
  int current_ = 0;
  double zoom_ = 1.0;
  int slice_ = 20;       // pages laid out per slice between events
  bool fitted_ = false;  // the page fitted to the window's width when first shown
  QScrollArea* scroll_ = nullptr;
  PageView* view_ = nullptr;
  QSpinBox* pageBox_ = nullptr;
  QLabel* pageCount_ = nullptr;
  QTimer* layout_ = nullptr;
  QAction* first_ = nullptr;
  QAction* previous_ = nullptr;
  QAction* next_ = nullptr;
  QAction* last_ = nullptr;
  std::function<void()> print_;
  std::function<void()> exportPdf_;
};

}  // namespace reports
