#pragma once

#include <QWidget>

namespace velko {

// The computation unit's window: created at start-up, never shown.
class Trasch : public QWidget {
 public:
  explicit Trasch(QWidget* owner);
};

}  // namespace velko
