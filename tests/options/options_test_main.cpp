#include <clocale>

#include <gtest/gtest.h>
#include <QApplication>
#include <QFont>
#include <QString>

#include "../private_desktop.h"
#include "options_test_support.h"

void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

int main(int argc, char** argv) {
  const velko::testing::PrivateDesktop desktop;
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");  // as the program does after its QApplication
  QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
