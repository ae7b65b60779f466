#include "ui/rasch.h"

namespace velko {

Trasch::Trasch(QWidget* owner) : QWidget(owner, Qt::Window) { setObjectName(QStringLiteral("rasch")); }

}  // namespace velko
