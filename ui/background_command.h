#pragma once

#include <atomic>
#include <functional>

class QString;
class QWidget;

namespace velko {

// How far a command running off the user-interface thread has got, and whether the user
// asked it to stop. The command reads `cancel` and reports `done` of `total` steps.
struct BackgroundProgress {
  std::atomic<int> done{0};
  std::atomic<int> total{0};
  std::atomic<bool> cancel{false};
};

// Runs `work` on a thread of its own, so the window keeps painting. A command that takes
// longer than 0.3 s shows a window-modal progress dialog over `parent` titled `label`,
// whose "Отмена" sets `cancel`. Returns false when the user cancelled (whatever `work`
// then threw is dropped); otherwise rethrows on this thread what `work` threw.
bool runInBackground(QWidget* parent, const QString& label, const std::function<void(BackgroundProgress&)>& work);

}  // namespace velko
