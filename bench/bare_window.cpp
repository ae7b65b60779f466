// The yardstick of the program's start: a bare Qt main window with one menu.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.menuBar()->addMenu(QStringLiteral("Файл"))->addAction(QStringLiteral("Выход"), &app, &QApplication::quit);
  window.resize(345, 200);
  window.show();
  return QApplication::exec();
}
