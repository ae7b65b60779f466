#pragma once

#include <array>
#include <cstddef>

#include "model/command_error.h"

namespace velko {

// Throws the refusal for an index outside a fixed table; kept out of line so the
// accessors stay small.
[[noreturn]] void refuseTableIndex(int index, int size);

// A fixed-size table indexed from 1 to N, as the model's tables are. Every access is
// checked: an index outside 1..N refuses the command instead of touching memory
// that is not the table's.
template <typename T, int N>
class Table1 {
 public:
  static constexpr int kSize = N;

  T& operator[](int k) {
    check(k);
    return items_[static_cast<std::size_t>(k - 1)];
  }
  const T& operator[](int k) const {
    check(k);
    return items_[static_cast<std::size_t>(k - 1)];
  }
  void clear() { items_.fill(T{}); }

 private:
  static void check(int k) {
    if (k < 1 || k > N) refuseTableIndex(k, N);
  }
  std::array<T, N> items_{};
};

}  // namespace velko
