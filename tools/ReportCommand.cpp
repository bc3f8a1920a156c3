// salary-admin report: renders the list or the detailed report of the batch in temp.DB to a PDF
// file, headless, with the layouts the program prints.

#include <QGuiApplication>
#include <filesystem>
#include <iostream>
#include <memory>

#include "Commands.h"
#include "reports/SalaryReport.h"
#include "store/Schema.h"
#include "store/Session.h"
#include "toolkit/FontsAndFormats.h"

namespace admin {

namespace {

// Qt's remarks on its surroundings (no XDG_RUNTIME_DIR under cron, a platform plugin's limits)
// are nothing the clerk can act on, and would reach a nightly job's mail: only its errors are
// told.
void tellQtErrorsOnly(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtCriticalMsg || type == QtFatalMsg) {
    std::cerr << "salary-admin report: " << text.toStdString() << "\n";
  }
}

}  // namespace

int reportCommand(const Args& args) {
  checkOptions(args, {"--data", "--style", "--pdf"});
  std::filesystem::path folder = dataFolder(args);
  const std::string style = optionValue(args, "--style", true);
  const std::string pdf = optionValue(args, "--pdf", true);
  if (style != "list" && style != "detailed")
    throw UsageError("--style 只能是 list (條列式) 或 detailed (詳細列印)");
  if (pdf.empty()) throw UsageError("--pdf 需要檔案名稱");

  // Fonts need a GUI application; no display is needed.
  std::unique_ptr<QGuiApplication> app;
  if (!QCoreApplication::instance()) {
    qInstallMessageHandler(tellQtErrorsOnly);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "salary-admin";
    static char* argv[] = {name, nullptr};
    app = std::make_unique<QGuiApplication>(argc, argv);
  }
  toolkit::installFontSubstitutions();
  toolkit::installRegionalFormats();

  store::Session session(folder);
  session.AddPassword(store::kTablePassword);
  const std::unique_ptr<reports::SalaryReport> report = reports::reportOfStyle(session, style);
  QString warning;
  const int pages = reports::saveReportPdf(*report, QString::fromStdString(pdf), &warning);
  if (!warning.isEmpty()) std::cerr << "salary-admin report: " << warning.toStdString() << "\n";
  std::cout << "已寫入 " << pdf << ": 共 " << pages << " 頁\n";
  return 0;
}

}  // namespace admin
