#include "ui/file_dialogs.h"

#include "ui/command_guard.h"

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

QString chooseFileToSave(QWidget* parent, const QString& filter, const QString& defaultSuffix) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(qtFileFilter(filter));
  dialog.setDefaultSuffix(defaultSuffix);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  return runDialog(dialog);
}

}  // namespace velko
