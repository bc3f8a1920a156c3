#pragma once
// QuickRep: shows a salary report in its preview window or sends it to the printer.
//
// Preview opens the report's preview window (PreviewWindow) without blocking, built from the
// tables each time it is asked for; the window also offers 列印, as Print does, and 匯出 PDF,
// which saves the report as a PDF file through the one way a file replaces another. Print sends
// the report to the default printer without a printer dialog: A4 portrait, one copy, all
// pages, no duplex. With no printer installed, or printers but none chosen as the default, the
// clerk is told so, and nothing else happens.

#include <QObject>
#include <memory>

class QWidget;

namespace reports {

class PreviewWindow;
class SalaryReport;

class QuickRep : public QObject {
  Q_OBJECT

 public:
  QuickRep(SalaryReport& report, QWidget* owner);
  ~QuickRep() override;

  void Preview();
  void Print();

  // The preview window once Preview has run (nullptr before).
  PreviewWindow* previewWindow() const { return preview_.get(); }
  // Pages of the last build: the pages printed, or after a preview the pages it has found to
  // be the report's (0 while it has not found the last).
  int pageCount() const;
  // Asks for a file name and saves the report there as PDF.
  void exportPdf();

 private:
  SalaryReport& report_;
  QWidget* owner_;
  std::unique_ptr<PreviewWindow> preview_;
  int printed_ = 0;
  bool printedLast_ = false;
};

// What the clerk is told when no printer is installed, and when printers are installed but none
// is the default.
extern const char* const kNoPrinterMessage;
extern const char* const kNoDefaultPrinterMessage;

}  // namespace reports
