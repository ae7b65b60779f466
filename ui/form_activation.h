#pragma once

#include <functional>

class QWidget;

namespace velko {

// Runs `handler` each time `form` becomes the program's active form: on its first
// activation and whenever the user comes to it from another of the program's forms.
// Qt also reports an activation when the whole program gets the focus back from
// another program, or when a message box or a common file dialog closes; those are not
// form changes and run no handler (a viewer would otherwise reload its file and drop
// the user's edits after every switch to another program, and a handler that reports
// an error would be run again by the closing of its own error box).
void watchFormActivation(QWidget* form, std::function<void()> handler);

// Shows a form without making it modal, restored from minimised, in front and active,
// so its activation handler runs.
void showFormActive(QWidget* form);

}  // namespace velko
