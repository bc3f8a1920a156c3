// salary: the payroll program. It reads no settings: its data folder is the one of the
// database alias it was built for. Its one argument, --version, prints the version without
// opening a window.

#include <QApplication>
#include <cstring>
#include <iostream>
#include <memory>

#include "app/Program.h"
#include "app/TMainForm.h"
#include "toolkit/Dialogs.h"
#include "toolkit/FontsAndFormats.h"
#include "toolkit/Forms.h"

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::cout << "salary " << SALARY_VERSION << "\n";
    return 0;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(Program::title()));
  QApplication::setQuitOnLastWindowClosed(false);
  toolkit::installFontSubstitutions();
  toolkit::installRegionalFormats();
  toolkit::installQtTranslations();

  std::unique_ptr<Program> program = Program::start();
  if (!program) return 0;
  QObject::connect(MainForm, &TMainForm::programEnded, &app, [] { QCoreApplication::exit(0); });
  toolkit::showMaximized(MainForm);
  QApplication::exec();
  return 0;
}
