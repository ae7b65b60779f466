#pragma once

#include <QIcon>

namespace velko {

// The toolbar pictures, drawn rather than loaded: plain 16 x 16 figures in the spirit
// of the program's flat buttons. Qt derives the greyed disabled state from them.
enum class ToolIcon { New, Open, Save, Calculate, Optimise, View, Print, SelectAll, Copy, Charts };

QIcon toolIcon(ToolIcon which);

}  // namespace velko
