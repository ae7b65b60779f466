#pragma once

#include <cstddef>
#include <vector>

#include "model/command_error.h"

namespace velko {

// Throws the refusal for an index outside a table; kept out of line so the accessors
// stay small.
[[noreturn]] void refuseTableIndex(int index, int size);

// A table indexed from 1 to its size, as the model's tables are. Its size follows the
// network it holds (resize), so storage grows with the works, not with a fixed limit.
// Every access is checked: an index outside 1..size refuses the command instead of
// touching memory that is not the table's.
template <typename T>
class Table1 {
 public:
  T& operator[](int k) {
    check(k);
    return items_[static_cast<std::size_t>(k - 1)];
  }
  const T& operator[](int k) const {
    check(k);
    return items_[static_cast<std::size_t>(k - 1)];
  }
  int size() const { return static_cast<int>(items_.size()); }
  // Every entry becomes zero; the size stays.
  void clear() { items_.assign(items_.size(), T{}); }
  // `n` zero entries (at least none), whatever the table held before.
  void reset(int n) { items_.assign(n > 0 ? static_cast<std::size_t>(n) : 0, T{}); }
  // Keeps the first entries; new ones are zero.
  void resize(int n) { items_.resize(n > 0 ? static_cast<std::size_t>(n) : 0); }

 private:
  void check(int k) const {
    if (k < 1 || k > size()) refuseTableIndex(k, size());
  }
  std::vector<T> items_;
};

}  // namespace velko
