#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include <QSettings>
#include <QString>

namespace velko {

// One store of sections with name-value entries, over a QSettings that the caller owns
// (the program opens its two stores once; tests hand in a temporary INI file).
// Every read returns nothing for a missing entry, so the caller leaves that value as it is.
class SettingsStore {
 public:
  explicit SettingsStore(QSettings& settings) : settings_(settings) {}

  // Throws CommandError when the store's file exists but cannot be read.
  void checkReadable() const;

  // A text with a NUL in it throws a CommandError that names the entry.
  std::optional<QString> readText(const QString& section, const QString& name) const;
  // A whole number; a text that is not one throws "'<text>' is not a valid integer value".
  std::optional<std::int32_t> readInteger(const QString& section, const QString& name) const;
  // Four whole numbers written "%d,%d,%d,%d".
  std::optional<std::array<std::int32_t, 4>> readFour(const QString& section,
                                                      const QString& name) const;

  void writeText(const QString& section, const QString& name, const QString& value);
  void writeInteger(const QString& section, const QString& name, std::int32_t value);
  void writeFour(const QString& section, const QString& name,
                 const std::array<std::int32_t, 4>& values);
  void writeYesNo(const QString& section, const QString& name, bool value);
  void removeEntry(const QString& section, const QString& name);

  // Puts the entries written so far on disk; throws CommandError when that fails.
  void commit();

  QString fileName() const { return settings_.fileName(); }

 private:
  static QString key(const QString& section, const QString& name) {
    return section + QLatin1Char('/') + name;
  }

  QSettings& settings_;
};

// The program's two stores, both in the folder "velko" of the user's configuration
// folder ($XDG_CONFIG_HOME, else ~/.config): the profile file "Velko.ini", with the main
// window's placement and the two options, and the per-user store "<program name>.conf",
// with the placements of the main and the works window.
// Made once in main() before the windows, so it outlives them and their last save.
class ProgramStores {
 public:
  ProgramStores();
  ProgramStores(const ProgramStores&) = delete;
  ProgramStores& operator=(const ProgramStores&) = delete;

  SettingsStore& profile() { return profile_; }
  SettingsStore& user() { return user_; }

  static QString programName();  // the program file's name without its extension
  static QString configFolder();  // the user's configuration folder

 private:
  QSettings profileSettings_;
  QSettings userSettings_;
  SettingsStore profile_{profileSettings_};
  SettingsStore user_{userSettings_};
};

// Earlier versions kept the stores directly in the configuration folder, as "Velko.ini"
// and "Software/<program name>.conf". Moves each into the folder "velko" once, so nothing
// a user set is lost: a store already in the new place is kept and the old one left
// alone. A store that cannot be moved stays where it was; throws CommandError.
void moveOldStores(const QString& configFolder, const QString& programName);

}  // namespace velko
