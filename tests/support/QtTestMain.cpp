// The main() of the tests of forms: headless unless a display platform is chosen, with one
// QApplication for the whole run.

#include <gtest/gtest.h>

#include <QApplication>

#include "toolkit/FontsAndFormats.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  toolkit::installFontSubstitutions();
  toolkit::installRegionalFormats();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
