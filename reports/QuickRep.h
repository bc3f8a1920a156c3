#pragma once
// QuickRep: shows a salary report in its preview window or sends it to the printer.
//
// Preview opens the report's preview window without blocking (rebuilt from the tables each
// time); the window also offers 匯出 PDF, which saves the report as a PDF file through the same
// atomic save as the transfer file. Print sends the report to the default printer without a
// printer dialog: A4 portrait, one copy, all pages, no duplex. With no printer installed the
// clerk is told so, and nothing else happens.

#include <QObject>
#include <QPrinter>
#include <memory>

class QPrintPreviewDialog;
class QWidget;

namespace reports {

class SalaryReport;

class QuickRep : public QObject {
  Q_OBJECT

 public:
  QuickRep(SalaryReport& report, QWidget* owner);
  ~QuickRep() override;

  void Preview();
  void Print();

  // The preview window once Preview has run (nullptr before).
  QPrintPreviewDialog* previewWindow() const { return preview_.get(); }
  // Pages of the last build.
  int pageCount() const { return pages_; }
  // Asks for a file name and saves the report there as PDF.
  void exportPdf();

 private:
  void paint(QPrinter* printer);

  SalaryReport& report_;
  QWidget* owner_;
  QPrinter previewPrinter_;
  std::unique_ptr<QPrintPreviewDialog> preview_;
  int pages_ = 0;
};

// What the clerk is told when no printer is installed.
extern const char* const kNoPrinterMessage;

}  // namespace reports
