#pragma once

#include <QString>
#include <QStringList>

namespace velko {

class SettingsStore;

// The last data files opened or saved, newest first, at most five, kept in the
// per-user store (section "RecentFiles", entries "File1" to "File5") so they outlive the
// program. Names are absolute, so a file stays found whatever the current folder.
class RecentFiles {
 public:
  static constexpr int kMaxFiles = 5;

  // Reads the list; throws CommandError when the store cannot be read.
  explicit RecentFiles(SettingsStore& store);

  const QStringList& files() const { return files_; }
  // Puts `name` first (once) and stores the list; throws CommandError when the store
  // cannot be written.
  void add(const QString& name);
  void remove(const QString& name);

 private:
  void save();
  SettingsStore& store_;
  QStringList files_;
};

// What the menu shows for the file `name` at `place` (1..): "&1 ~/plans/net.dat", the
// home folder written "~".
QString recentFileText(int place, const QString& name);

}  // namespace velko
