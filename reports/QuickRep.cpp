#include "QuickRep.h"

#include <QDir>
#include <QPrinter>
#include <QPrinterInfo>

#include "PainterCanvas.h"
#include "PreviewWindow.h"
#include "SalaryReport.h"
#include "store/EngineError.h"
#include "toolkit/Dialogs.h"

namespace reports {

const char* const kNoPrinterMessage =
    "沒有安裝印表機,無法列印報表。請先安裝印表機並設為預設印表機。";
const char* const kNoDefaultPrinterMessage =
    "已安裝印表機,但沒有設定預設印表機,無法列印報表。請在系統的印表機設定中選一台為預設印表機。";

namespace {

const char* const kPrintFailed = "報表未能送到印表機,請檢查印表機後再試一次";

// The caption of a report's preview and the name its PDF is proposed under: its title, or for
// the list report, which has none, the name of its style.
QString nameOf(const SalaryReport& report) {
  const QString title = report.reportLayout().title;
  return title.isEmpty() ? QStringLiteral("條列式報表") : title;
}

}  // namespace

QuickRep::QuickRep(SalaryReport& report, QWidget* owner) : report_(report), owner_(owner) {}

QuickRep::~QuickRep() = default;

int QuickRep::pageCount() const {
  if (printedLast_ || !preview_) return printed_;
  return preview_->pageCount();
}

void QuickRep::Preview() {
  if (!preview_) {
    preview_ = std::make_unique<PreviewWindow>(report_, nameOf(report_), owner_);
    preview_->setPrint([this] { Print(); });
    preview_->setExportPdf([this] { exportPdf(); });
  }
  printedLast_ = false;
  // Built afresh each time; a report that cannot be read (a table file missing) is refused here
  // and its window is not shown.
  preview_->showReport();
  preview_->show();
  preview_->raise();
  preview_->activateWindow();
}

void QuickRep::exportPdf() {
  toolkit::SaveDialogRequest request;
  request.initialDir = QDir::homePath();
  request.fileName = nameOf(report_) + ".pdf";
  request.title = QStringLiteral("匯出 PDF");
  const std::optional<QString> name = toolkit::dialogs().SaveFile(request);
  if (!name) return;
  QString warning;
  saveReportPdf(report_, *name, &warning);
  if (!warning.isEmpty()) toolkit::ShowMessage(warning);
}

void QuickRep::Print() {
  const QPrinterInfo printerInfo = QPrinterInfo::defaultPrinter();
  if (printerInfo.isNull()) {
    toolkit::ShowMessage(QString::fromUtf8(QPrinterInfo::availablePrinterNames().isEmpty()
                                               ? kNoPrinterMessage
                                               : kNoDefaultPrinterMessage));
    return;
  }
  QPrinter printer(printerInfo, QPrinter::HighResolution);
  printer.setCopyCount(1);
  printer.setPrintRange(QPrinter::AllPages);
  printer.setDuplex(QPrinter::DuplexNone);
  printer.setPaperSource(QPrinter::Upper);
  printer.setDocName(report_.reportLayout().title);
  PainterCanvas canvas(printer, report_.reportLayout());
  try {
    printed_ = report_.render(canvas);
  } catch (...) {
    // Nothing of a report that could not be built completely goes to a printer.
    printer.abort();
    throw;
  }
  canvas.finish();
  printedLast_ = true;
  if (printer.printerState() == QPrinter::Error) {
    throw store::EngineError::of(store::EngineError::Code::General,
                                 printerInfo.printerName().toStdString(), {}, kPrintFailed);
  }
}

}  // namespace reports
