#include "QuickRep.h"

#include <QAction>
#include <QDir>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QToolBar>

#include "PainterCanvas.h"
#include "SalaryReport.h"
#include "store/EngineError.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Guard.h"

namespace reports {

const char* const kNoPrinterMessage =
    "沒有安裝印表機,無法列印報表。請先安裝印表機並設為預設印表機。";

namespace {

const char* const kPrintFailed = "報表未能送到印表機,請檢查印表機後再試一次";

}  // namespace

QuickRep::QuickRep(SalaryReport& report, QWidget* owner)
    : report_(report), owner_(owner), previewPrinter_(QPrinter::HighResolution) {}

QuickRep::~QuickRep() = default;

void QuickRep::paint(QPrinter* printer) {
  printer->setDocName(report_.reportLayout().title);
  PainterCanvas canvas(*printer, report_.reportLayout());
  try {
    pages_ = report_.render(canvas);
  } catch (...) {
    // Nothing of a report that could not be built completely goes to a printer. (The preview's
    // own printer is left alone: it shows the pages built so far.)
    if (printer != &previewPrinter_) printer->abort();
    throw;
  }
  canvas.finish();
}

void QuickRep::Preview() {
  if (!preview_) {
    preview_ = std::make_unique<QPrintPreviewDialog>(&previewPrinter_, owner_, Qt::Window);
    const QString title = report_.reportLayout().title;
    preview_->setWindowTitle(title.isEmpty() && owner_ ? owner_->windowTitle() : title);
    // The whole report is built before the window shows it: a failure (a table file missing)
    // is reported by the guard and the window shows the pages built so far.
    connect(preview_.get(), &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* printer) { toolkit::runGuarded([&] { paint(printer); }); });
    if (auto* bar = preview_->findChild<QToolBar*>()) {
      QAction* pdf = bar->addAction(QStringLiteral("匯出 PDF"));
      pdf->setObjectName(QStringLiteral("ExportPdfAction"));
      toolkit::connectGuarded(pdf, &QAction::triggered, this, &QuickRep::exportPdf);
    }
    preview_->setModal(false);
    preview_->show();
  } else {
    // Shown again: read the tables afresh.
    if (auto* widget = preview_->findChild<QPrintPreviewWidget*>()) widget->updatePreview();
    preview_->show();
  }
  preview_->raise();
  preview_->activateWindow();
}

void QuickRep::exportPdf() {
  toolkit::SaveDialogRequest request;
  request.initialDir = QDir::homePath();
  const QString title = report_.reportLayout().title;
  request.fileName = (title.isEmpty() ? QStringLiteral("條列式報表") : title) + ".pdf";
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
    toolkit::ShowMessage(QString::fromUtf8(kNoPrinterMessage));
    return;
  }
  QPrinter printer(printerInfo, QPrinter::HighResolution);
  printer.setCopyCount(1);
  printer.setPrintRange(QPrinter::AllPages);
  printer.setDuplex(QPrinter::DuplexNone);
  printer.setPaperSource(QPrinter::Upper);
  paint(&printer);
  if (printer.printerState() == QPrinter::Error) {
    throw store::EngineError::of(store::EngineError::Code::General,
                                 printerInfo.printerName().toStdString(), {}, kPrintFailed);
  }
}

}  // namespace reports
