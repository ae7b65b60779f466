#pragma once

#include <atomic>
#include <chrono>

namespace velko::crews {

// The engine's own count of work, so that a search stops at the same point on a busy
// machine or an idle one; the clock and the cancel flag only cut it short.
class SearchEffort {
 public:
  SearchEffort(long long limit, double seconds, const std::atomic<bool>* cancel)
      : limit_(limit), cancel_(cancel), began_(std::chrono::steady_clock::now()),
        deadline_(began_ + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                               std::chrono::duration<double>(seconds))) {}

  void spend(long long steps) { used_ += steps; }
  // A phase's share: the count stops at `limit` until it is raised again.
  void capAt(long long limit) { limit_ = limit; }
  long long used() const { return used_; }
  long long limit() const { return limit_; }
  long long left() const { return used_ >= limit_ ? 0 : limit_ - used_; }
  // The clock is read only now and then: it is the safety net, not the measure.
  bool over() {
    if (stopped_) return true;
    if (used_ >= limit_) return true;
    if (cancel_ && cancel_->load(std::memory_order_relaxed)) return stopped_ = cancelled_ = true;
    if (++polls_ % 64 == 0 && std::chrono::steady_clock::now() >= deadline_) return stopped_ = true;
    return false;
  }
  bool interrupted() {  // cancelled or out of time: stop every phase, not just this one
    if (!over() && std::chrono::steady_clock::now() >= deadline_) stopped_ = true;
    return stopped_;
  }
  bool cancelled() const { return cancelled_; }
  double seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - began_).count();
  }

 private:
  long long limit_;
  long long used_ = 0;
  const std::atomic<bool>* cancel_;
  std::chrono::steady_clock::time_point began_, deadline_;
  long long polls_ = 0;
  bool stopped_ = false;
  bool cancelled_ = false;
};

}  // namespace velko::crews
