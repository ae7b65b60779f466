#pragma once

#include "ui/late_windows.h"

namespace velko {

// The charts window and the printed report behind the LateWindows interface: what the
// module exports, and what tests link in directly.
LateWindows& linkedLateWindows();

}  // namespace velko
