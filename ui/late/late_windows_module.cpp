// The module libvelko_charts_report.so: the program loads it when "Графики" or the
// printed report is first used (ui/late_windows.h).
#include <QtGlobal>

#include "ui/late/late_windows_impl.h"

extern "C" Q_DECL_EXPORT velko::LateWindows* velkoLateWindows() { return &velko::linkedLateWindows(); }
