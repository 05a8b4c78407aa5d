// One QApplication for every test, on the offscreen platform (also when the
// test list is read at build time, where the environment is not set).
#include <gtest/gtest.h>

#include <QApplication>

#include "app/ui/style/theme.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  quillon::ui::Appearance::instance().apply();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
