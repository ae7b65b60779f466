#pragma once

// The users' regional settings for one test: the C library's numbers with the decimal
// comma of ru_RU.UTF-8, as a desktop program has them when nothing resets LC_NUMERIC
// after its application object. The previous setting comes back at the end of the scope.
// Use with VELKO_NEED_RUSSIAN_NUMBERS, which skips a test on a machine without the locale.
#include <clocale>
#include <string>

namespace velko::testing {

class RussianNumbers {
 public:
  RussianNumbers() : saved_(std::setlocale(LC_NUMERIC, nullptr)) {
    active_ = std::setlocale(LC_NUMERIC, "ru_RU.UTF-8") != nullptr;
  }
  ~RussianNumbers() { std::setlocale(LC_NUMERIC, saved_.c_str()); }
  RussianNumbers(const RussianNumbers&) = delete;
  RussianNumbers& operator=(const RussianNumbers&) = delete;

  bool active() const { return active_; }

 private:
  std::string saved_;
  bool active_ = false;
};

}  // namespace velko::testing

#define VELKO_NEED_RUSSIAN_NUMBERS(guard)                                                  \
  if (!(guard).active())                                                                   \
  GTEST_SKIP() << "the locale ru_RU.UTF-8 is not installed (scripts/install-deps.sh makes it)"
