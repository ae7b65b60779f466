// The main window's data files beyond the three file commands: the question before
// unsaved changes are given up, the recent files, a file dropped on the window or named
// on the command line.
#include <QAction>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QTimer>
#include <QToolButton>
#include <QUndoStack>

#include "data/data_file.h"
#include "exchange/mspdi_reader.h"
#include "exchange/network_from_project.h"
#include "exchange/network_install.h"
#include "model/network_model.h"
#include "model/command_error.h"
#include "ui/command_guard.h"
#include "ui/currency_edit.h"
#include "ui/data_file_drop.h"
#include "ui/file_dialogs.h"
#include "ui/main_form.h"
#include "ui/recent_files.h"
#include "ui/works/works_table_model.h"
#include "ui/project_calendar_dialog.h"
#include "ui/works/works_undo.h"

namespace velko {

bool TMain::mayDiscardChanges() {
  if (!isModified()) return true;
  const int answer = askYesNoCancel(
      this, QStringLiteral("Сохранить изменения в файле ") + QFileInfo(DataFileName).fileName() + QLatin1Char('?'));
  if (answer == QMessageBox::Yes) return saveDataFile();
  return answer == QMessageBox::No;
}

void TMain::startHistory() {
  history_->restart();
  forgetRun();
  savedBoxTexts_ = boxTexts();
  savedExtras_ = theModel().Extras;
  UpdateCaption();
}

// "Календарь проекта...": the start date and calendar belong to the data set, so a
// change marks it modified and "Сохранить" writes it.
void TMain::N30Click() {
  TCalendarDialog dialog(theModel().Extras, this);
  if (dialog.exec() != QDialog::Accepted || dialog.result() == theModel().Extras) return;
  theModel().Extras = dialog.result();
  markModified();
}

bool TMain::saveDataFile() {
  if (!DataFileChosen) return saveDataFileAs();
  if (!runCommand(this, [this] { writeDataFile(DataFileName); })) return false;
  markSaved();
  return true;
}

bool TMain::saveDataFileAs() {
  const QString name = chooseFileToSave(
      this, QString::fromUtf8(kDataFileFilter) + QString::fromUtf8(kProjectXmlFilter), QStringLiteral("dat"));
  if (name.isEmpty()) return false;
  if (!runCommand(this, [this, &name] { writeDataFile(name); })) return false;
  // An export for another program: the data set stays tied to its own data file.
  if (isProjectXmlName(name)) return true;
  DataFileName = name;
  DataFileChosen = true;
  markSaved();
  return true;
}

void TMain::markSaved() {
  history_->stack()->setClean();
  savedBoxTexts_ = boxTexts();
  savedExtras_ = theModel().Extras;
  UpdateCaption();
  rememberFile(DataFileName);
}

void TMain::rememberFile(const QString& name) {
  if (!recentFiles_) return;
  runCommand(this, [this, &name] { recentFiles_->add(name); });
  showRecentFiles();
}

void TMain::showRecentFiles() {
  for (QAction* item : recentActions_) delete item;
  recentActions_.clear();
  auto* before = findChild<QAction*>(QStringLiteral("N6"));
  auto* separator = findChild<QAction*>(QStringLiteral("RecentFiles"));
  const QStringList files = recentFiles_ ? recentFiles_->files() : QStringList();
  separator->setVisible(!files.isEmpty());
  for (int k = 0; k < files.size(); ++k) {
    auto* item = new QAction(recentFileText(k + 1, files[k]), fileMenu_);
    item->setObjectName(QStringLiteral("RecentFile%1").arg(k + 1));
    item->setStatusTip(files[k]);
    const QString name = files[k];
    connect(item, &QAction::triggered, this, [this, name] { openRecentFile(name); });
    fileMenu_->insertAction(before, item);
    recentActions_ << item;
  }
}

void TMain::openRecentFile(const QString& name) {
  if (!QFileInfo::exists(name)) {
    runCommand(this, [this, &name] { recentFiles_->remove(name); });
    showRecentFiles();
    showError(this, QStringLiteral("Файл ") + name + QStringLiteral(" не найден; он убран из списка последних файлов."));
    return;
  }
  if (mayDiscardChanges()) openDataFile(name);
}

// "Открыть ..." after its dialog. The name becomes the current data file only once the
// file has been read: a file that cannot be read leaves the name, the caption and the
// data as they were, so a later "Сохранить" cannot write over the file that failed.
bool TMain::openDataFile(const QString& name) {
  if (isProjectXmlName(name)) return openProjectXml(name);
  const bool opened = runCommand(this, [this, &name] {
    DataFileContents contents;
    worksModel_->change([&](WorksTable& table) {
      contents = ReadDataFile(theModel(), QFile::encodeName(name).toStdString(), table);
    });
    DataFileName = name;
    DataFileChosen = true;
    UpdateCaption();
    CurrencyEdit1->setText(QString::number(contents.VariantNumber));
    CurrencyEdit2->setText(QString::number(theModel().WorkCount));
    CurrencyEdit3->setText(QString::number(theModel().EventCount));
    RxSpeedButton1->click();
    startHistory();
    if (!contents.notice.empty()) showNotice(this, QString::fromStdString(contents.notice));
  });
  if (opened) rememberFile(name);
  return opened;
}

// A Project XML file: read and converted whole before anything changes, then put in
// place as a data file would be. It is not the data file: "Сохранить" asks for one,
// offering the same name with .dat.
bool TMain::openProjectXml(const QString& name) {
  const bool opened = runCommand(this, [this, &name] {
    const std::string file = QFile::encodeName(name).toStdString();
    const ImportedNetwork network = networkFromProject(readProjectXmlFile(file), file);
    worksModel_->change([&](WorksTable& table) { installNetwork(network, theModel(), table); });
    DataFileName = QFileInfo(name).path() + QLatin1Char('/') + QFileInfo(name).completeBaseName() + QStringLiteral(".dat");
    DataFileChosen = false;
    UpdateCaption();
    CurrencyEdit1->setText(QStringLiteral("1"));
    CurrencyEdit2->setText(QString::number(theModel().WorkCount));
    CurrencyEdit3->setText(QString::number(theModel().EventCount));
    RxSpeedButton1->click();
    startHistory();
    showNotice(this, QString::fromStdString(network.report));
  });
  if (opened) rememberFile(name);
  return opened;
}

void TMain::dragEnterEvent(QDragEnterEvent* event) {
  if (!draggedDataFile(event->mimeData()).isEmpty()) acceptAsCopy(event);
}

void TMain::dragMoveEvent(QDragMoveEvent* event) {
  if (!draggedDataFile(event->mimeData()).isEmpty()) acceptAsCopy(event);
}

void TMain::dropEvent(QDropEvent* event) {
  const QString name = draggedDataFile(event->mimeData());
  if (!name.isEmpty() && acceptAsCopy(event)) openDroppedFile(name);
}

// A data file dropped on the window opens as "Открыть ..." would open it; the question
// about unsaved changes waits until the drop is over, so the file manager is not held.
void TMain::openDroppedFile(const QString& name) {
  QTimer::singleShot(0, this, [this, name] {
    if (mayDiscardChanges()) openDataFile(name);
  });
}

}  // namespace velko
