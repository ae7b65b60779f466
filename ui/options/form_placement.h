#pragma once

#include <functional>
#include <utility>
#include <vector>

#include <QMetaObject>
#include <QString>

class QLineEdit;
class QWidget;

namespace velko {

class SettingsStore;

// Shows an error's text to the user; a window may route it to its own error box.
using ErrorReporter = std::function<void(const QString& message)>;

// Keeps a window's placement in a section of a store (entries "Flags", "ShowCmd",
// "MinMaxPos", "NormPos", "Visible"). The window calls restore() from its showEvent and
// save() from its closeEvent when the close is accepted; at program end the placement is
// saved once more unless it has been saved since the last restore.
//
// Errors (an unreadable or unwritable store, a stored text that is not a whole number)
// go to the error reporter and never stop the window from being shown or closed; the
// values not yet restored stay as they were.
class FormPlacement {
 public:
  // Windows whose minimum and maximum sizes are equal get back their position only.
  FormPlacement(QWidget* window, SettingsStore& store, QString section);
  ~FormPlacement();
  FormPlacement(const FormPlacement&) = delete;
  FormPlacement& operator=(const FormPlacement&) = delete;

  void setErrorReporter(ErrorReporter reporter) { reporter_ = std::move(reporter); }

  void restore();
  void save();
  // At program end: the application's aboutToQuit, or failing that the window's
  // destruction (which reports no error). A window never shown in this run keeps what
  // its store already holds.
  void saveAtEnd();

  bool savedSinceRestore() const { return restored_ && saved_; }
  const QString& section() const { return section_; }

 protected:
  struct StoredText {
    QString entry;
    QLineEdit* box;
  };
  std::vector<StoredText> storedTexts_;
  std::function<void()> restoredHandler_;

 private:
  void restorePlacement();
  void writeAll(bool visible);
  void report(const char* message) noexcept;

  QWidget* window_;
  SettingsStore& store_;
  QString section_;
  ErrorReporter reporter_;
  bool restored_ = false;
  bool saved_ = false;
  QMetaObject::Connection quitConnection_;
};

// A placement that also keeps texts of the window's boxes, each under the entry
// "<box's object name>_Text", and tells the window when it has restored them.
class FormStorage : public FormPlacement {
 public:
  using FormPlacement::FormPlacement;

  void addStoredText(QLineEdit* box);
  // Runs after every restore of the texts; a CommandError it throws is reported.
  void setRestoredHandler(std::function<void()> handler) {
    restoredHandler_ = std::move(handler);
  }
};

}  // namespace velko
