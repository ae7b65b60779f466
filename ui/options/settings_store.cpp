#include "ui/options/settings_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

#include "data/file_io.h"
#include "model/command_error.h"
#include "model/number_text.h"

namespace velko {

namespace {

const QString kStoresFolder = QStringLiteral("velko");
const QString kProfileName = QStringLiteral("Velko");

// Copied through the safe writer before the old file goes, so a failure at any point
// leaves one complete store.
void moveStore(const QString& from, const QString& to) {
  if (!QFileInfo::exists(from) || QFileInfo::exists(to)) return;
  try {
    if (!QDir().mkpath(QFileInfo(to).path()))
      throw CommandError("Unable to create the folder " + QFileInfo(to).path().toStdString());
    writeFileSafely(QFile::encodeName(to).toStdString(),
                    readWholeFile(QFile::encodeName(from).toStdString()));
  } catch (const CommandError& error) {
    throw CommandError("Unable to move the settings file " + from.toStdString() + " to " +
                       to.toStdString() + ": " + error.what());
  }
  QFile::remove(from);
}

// An INI value with commas and no quotes reads back as a list; the stored text is the
// same either way.
QString storedText(const QVariant& value) {
  if (value.metaType().id() == QMetaType::QStringList)
    return value.toStringList().join(QLatin1Char(','));
  return value.toString();
}

}  // namespace

void SettingsStore::checkReadable() const {
  if (settings_.status() != QSettings::NoError)
    throw CommandError("Unable to read the settings file " + fileName().toStdString());
}

std::optional<QString> SettingsStore::readText(const QString& section,
                                               const QString& name) const {
  const QVariant value = settings_.value(key(section, name));
  if (!value.isValid()) return std::nullopt;
  QString text = storedText(value);
  // A NUL would cut every message that quotes the text short.
  if (text.contains(QChar(0))) {
    throw CommandError("Файл настроек " + fileName().toStdString() + ": значение " + key(section, name).toStdString() +
                       " содержит нулевой байт");
  }
  return text;
}

std::optional<std::int32_t> SettingsStore::readInteger(const QString& section,
                                                       const QString& name) const {
  const std::optional<QString> text = readText(section, name);
  if (!text) return std::nullopt;
  return StrToInt(text->toStdString());
}

std::optional<std::array<std::int32_t, 4>> SettingsStore::readFour(
    const QString& section, const QString& name) const {
  const std::optional<QString> text = readText(section, name);
  if (!text) return std::nullopt;
  const QStringList parts = text->split(QLatin1Char(','));
  if (parts.size() != 4) {
    throw CommandError("Файл настроек " + fileName().toStdString() + ": в значении " + key(section, name).toStdString() +
                       " не четыре числа: '" + text->toStdString() + "'");
  }
  std::array<std::int32_t, 4> values{};
  for (int i = 0; i < 4; ++i) values[i] = StrToInt(parts[i].trimmed().toStdString());
  return values;
}

void SettingsStore::writeText(const QString& section, const QString& name,
                              const QString& value) {
  settings_.setValue(key(section, name), value);
}

void SettingsStore::writeInteger(const QString& section, const QString& name,
                                 std::int32_t value) {
  settings_.setValue(key(section, name), QString::number(value));
}

void SettingsStore::writeFour(const QString& section, const QString& name,
                              const std::array<std::int32_t, 4>& values) {
  settings_.setValue(key(section, name), QStringLiteral("%1,%2,%3,%4")
                                             .arg(values[0])
                                             .arg(values[1])
                                             .arg(values[2])
                                             .arg(values[3]));
}

void SettingsStore::writeYesNo(const QString& section, const QString& name, bool value) {
  settings_.setValue(key(section, name), value);
}

void SettingsStore::removeEntry(const QString& section, const QString& name) {
  settings_.remove(key(section, name));
}

void SettingsStore::commit() {
  settings_.sync();
  if (settings_.status() != QSettings::NoError)
    throw CommandError("Unable to write to " + fileName().toStdString());
}

ProgramStores::ProgramStores()
    : profileSettings_(QSettings::IniFormat, QSettings::UserScope, kStoresFolder, kProfileName),
      userSettings_(QSettings::NativeFormat, QSettings::UserScope, kStoresFolder, programName()) {}

QString ProgramStores::programName() {
  return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

QString ProgramStores::configFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

void moveOldStores(const QString& configFolder, const QString& programName) {
  const QDir config(configFolder);
  moveStore(config.filePath(kProfileName + QStringLiteral(".ini")),
            config.filePath(kStoresFolder + QLatin1Char('/') + kProfileName + QStringLiteral(".ini")));
  const QString oldUserFolder = config.filePath(QStringLiteral("Software"));
  moveStore(oldUserFolder + QLatin1Char('/') + programName + QStringLiteral(".conf"),
            config.filePath(kStoresFolder + QLatin1Char('/') + programName + QStringLiteral(".conf")));
  config.rmdir(oldUserFolder);  // only when nothing else is left in it
}

}  // namespace velko
