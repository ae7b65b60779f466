#pragma once

#include <functional>
#include <utility>

namespace velko {

// A secondary window made by its maker when it is first needed, then kept for the rest
// of the program: the windows the user may never open cost the start nothing. A window
// handed over ready-made is used as it is.
template <class Window>
class MadeAtFirstUse {
 public:
  void set(Window* ready) {
    window_ = ready;
    make_ = nullptr;
  }
  void setMaker(std::function<Window*()> make) {
    window_ = nullptr;
    make_ = std::move(make);
  }
  // nullptr when there is neither a window nor a maker. A maker that throws is kept, so
  // the next use tries again.
  Window* get() {
    if (!window_ && make_) {
      window_ = make_();
      make_ = nullptr;
    }
    return window_;
  }
  // Without making it.
  Window* made() const { return window_; }

 private:
  Window* window_ = nullptr;
  std::function<Window*()> make_;
};

}  // namespace velko
