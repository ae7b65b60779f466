#include <clocale>

#include <gtest/gtest.h>
#include <QApplication>

#include "../private_desktop.h"

int main(int argc, char** argv) {
  const velko::testing::PrivateDesktop desktop;
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");  // as the program does after its QApplication
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
