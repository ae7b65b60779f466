#pragma once

#include <chrono>
#include <exception>
#include <functional>
#include <memory>
#include <utility>

#include <QObject>
#include <QThread>

#include "model/network_model.h"

namespace velko {

// A solver of "Графики" run off the user-interface thread (the smoothing, the crew
// limits, the reallocation). The thread holds the state too, so the window may go while
// a solve finishes; a job dropped while it runs is cancelled and waited for.
// `State` has `std::atomic<bool> cancel` and `std::string error`.
template <class State>
struct SolverJob {
  std::shared_ptr<State> state = std::make_shared<State>();
  std::unique_ptr<QThread> thread;
  std::shared_ptr<const TNetworkModel> model;  // the run it was started for
  std::shared_ptr<const TNetworkModel> base;   // what it solves: the run or its reallocated copy
  std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();

  SolverJob() = default;
  SolverJob(const SolverJob&) = delete;
  SolverJob& operator=(const SolverJob&) = delete;
  ~SolverJob() {
    if (!thread) return;
    state->cancel = true;
    thread->wait();
  }

  // Runs `work` on the job's thread, with what it throws kept in `error`; `finished` on
  // the receiver's thread after it.
  template <class Receiver, class Slot>
  void start(Receiver* receiver, Slot finished, std::function<void(State&)> work) {
    thread.reset(QThread::create([s = state, work = std::move(work)] {
      try {
        work(*s);
      } catch (const std::exception& e) {
        s->error = e.what();
      }
    }));
    QObject::connect(thread.get(), &QThread::finished, receiver, finished);
    thread->start();
  }

  double elapsedSeconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  }

  // In the handler of its end: the thread sent the signal being handled, so it goes later.
  void release() {
    thread->wait();
    thread.release()->deleteLater();
  }
};

}  // namespace velko
