#include "ui/background_command.h"

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <thread>

#include <QApplication>
#include <QProgressDialog>
#include <QTimer>
#include <QWidget>

#include "model/command_error.h"

namespace velko {
namespace {

// A command's error reaches the one error box on the window's thread; a cancel stops the
// command and is no error at all, whatever the command throws on its way out.
TEST(BackgroundCommand, ErrorsComeBackAndACancelStopsTheCommand) {
  QWidget window;
  window.show();
  EXPECT_THROW(runInBackground(&window, QStringLiteral("Расчет"),
                               [](BackgroundProgress&) { throw CommandError("Floating point overflow"); }),
               CommandError);
  EXPECT_TRUE(runInBackground(&window, QStringLiteral("Расчет"), [](BackgroundProgress&) {}));

  int steps = 0;
  QTimer press;
  QObject::connect(&press, &QTimer::timeout, [&] {
    auto* dialog = window.findChild<QProgressDialog*>();
    if (dialog != nullptr && dialog->isVisible()) dialog->cancel();
  });
  press.start(50);
  const bool finished = runInBackground(&window, QStringLiteral("Оптимизация"), [&](BackgroundProgress& progress) {
    progress.total = 1000;
    for (; steps < 1000; ++steps) {
      progress.done = steps;
      if (progress.cancel) throw CommandError("Оптимизация прервана");
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  });
  EXPECT_FALSE(finished);
  EXPECT_LT(steps, 1000);
}

}  // namespace
}  // namespace velko
