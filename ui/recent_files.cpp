#include "ui/recent_files.h"

#include <QDir>
#include <QFileInfo>

#include "ui/options/settings_store.h"

namespace velko {

namespace {

const QString kSection = QStringLiteral("RecentFiles");

QString entry(int place) { return QStringLiteral("File%1").arg(place); }

QString absolute(const QString& name) { return QFileInfo(name).absoluteFilePath(); }

}  // namespace

RecentFiles::RecentFiles(SettingsStore& store) : store_(store) {
  store_.checkReadable();
  for (int place = 1; place <= kMaxFiles; ++place) {
    const std::optional<QString> name = store_.readText(kSection, entry(place));
    if (name && !name->isEmpty() && !files_.contains(*name)) files_ << *name;
  }
}

void RecentFiles::add(const QString& name) {
  const QString full = absolute(name);
  files_.removeAll(full);
  files_.prepend(full);
  while (files_.size() > kMaxFiles) files_.removeLast();
  save();
}

void RecentFiles::remove(const QString& name) {
  files_.removeAll(name);
  save();
}

void RecentFiles::save() {
  for (int place = 1; place <= kMaxFiles; ++place) {
    if (place <= files_.size()) {
      store_.writeText(kSection, entry(place), files_[place - 1]);
    } else {
      store_.removeEntry(kSection, entry(place));
    }
  }
  store_.commit();
}

QString recentFileText(int place, const QString& name) {
  QString shown = QDir::toNativeSeparators(name);
  const QString home = QDir::homePath() + QLatin1Char('/');
  if (name.startsWith(home)) shown = QStringLiteral("~/") + name.mid(home.size());
  // A "&" of the name is shown as itself, not as a mnemonic.
  return QStringLiteral("&%1 %2").arg(place).arg(shown.replace(QLatin1Char('&'), QStringLiteral("&&")));
}

}  // namespace velko
