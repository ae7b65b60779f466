#include "ui/file_dialogs.h"

#include "ui/command_guard.h"

#include <algorithm>

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

namespace velko {

namespace {

QString runDialog(QFileDialog& dialog) {
  dialog.setDirectory(QDir::currentPath());
  const int answer = dialog.exec();
  reactivateAfterModal(dialog.parentWidget());
  if (answer != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  const QString name = dialog.selectedFiles().constFirst();
  QDir::setCurrent(QFileInfo(name).absolutePath());
  return name;
}

}  // namespace

QString qtFileFilter(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype k = 0; k + 1 < parts.size(); k += 2) {
    const QString& text = parts[k];
    const QString patterns = QString(parts[k + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
    if (text.contains(QLatin1Char('(') + patterns + QLatin1Char(')'))) {
      filters << text;
    } else {
      filters << text + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
  }
  return filters.join(QStringLiteral(";;"));
}

QString chooseFileToOpen(QWidget* parent, const QString& filter) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilter(qtFileFilter(filter));
  return runDialog(dialog);
}

QString chooseFileToSave(QWidget* parent, const QString& filter, const QString& defaultSuffix, int* chosenFilter) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  const QStringList filters = qtFileFilter(filter).split(QStringLiteral(";;"));
  dialog.setNameFilters(filters);
  dialog.setDefaultSuffix(defaultSuffix);
  // The suffix follows the filter picked, so the overwrite question is asked about the
  // file that will really be written.
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& picked) {
    const qsizetype k = filters.indexOf(picked);
    const QString pattern = picked.section(QLatin1Char('('), -1).section(QLatin1Char(')'), 0, 0).section(' ', 0, 0);
    dialog.setDefaultSuffix(k > 0 && pattern.startsWith(QStringLiteral("*.")) ? pattern.mid(2) : defaultSuffix);
  });
  const QString name = runDialog(dialog);
  if (chosenFilter) *chosenFilter = std::max<int>(0, int(filters.indexOf(dialog.selectedNameFilter())));
  return name;
}

}  // namespace velko
