#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QList>
#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include "model/optimisation.h"
#include "ui/first_use.h"
#include "ui/late_windows.h"

class QAction;
class QDialog;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QToolButton;

namespace velko {

class FormPlacement;
class FormStorage;
class SettingsStore;
class TAnimatedImage;
class TCurrencyEdit;
class TGradientPanel;
class TPros_form;
class TShadowLabel;
class TStringGrid;
class Trab_form;
class WorksTableModel;
class TableInput;
class WorksTable;
class WorksHistory;
struct WorksState;
class RecentFiles;

// The main window: toolbar, counts panel, works table and status line, with the menu
// bar and the table menu. It owns the count boxes and the works table, the one source of
// the works. Each handler calls the core and shows the outcome; every error a command
// raises is shown by runCommand, after which the program goes on.
class TMain : public QMainWindow {
  Q_OBJECT

 public:
  explicit TMain(QWidget* parent = nullptr);
  ~TMain() override;

  // The windows the commands show, created after the main window: ready-made, or by a
  // maker at the command's first use.
  void setWorksWindow(Trab_form* form) { rab_form_.set(form); }
  void setResultsViewer(TPros_form* form) { Pros_form_.set(form); }
  void setOptionsDialog(QDialog* dialog) { Param_.set(dialog); }
  void setAboutBox(QDialog* dialog) { Above_.set(dialog); }
  void setWorksWindowMaker(std::function<Trab_form*()> make) { rab_form_.setMaker(std::move(make)); }
  void setResultsViewerMaker(std::function<TPros_form*()> make) { Pros_form_.setMaker(std::move(make)); }
  void setOptionsDialogMaker(std::function<QDialog*()> make) { Param_.setMaker(std::move(make)); }
  // A new search time from the options dialog reaches "Графики" at once.
  void solverOptionsChanged() { showRunInCharts(); }
  void setAboutBoxMaker(std::function<QDialog*()> make) { Above_.setMaker(std::move(make)); }
  // The window "Графики", made on its first showing (ui/late_windows.h); nullptr before.
  QWidget* chartsWindow() const { return Charts_form_.made(); }
  // The stores that keep the placement and the two options between runs: the profile
  // file and the per-user store. Without them nothing is restored or saved.
  void setStores(SettingsStore& profile, SettingsStore& user);

  WorksTableModel* worksModel() const { return worksModel_; }
  // The one undo history of the data set; the separate works window records into it.
  WorksHistory* history() const { return history_; }
  // Whether the works, the counts or the variant number changed since the data set was
  // last opened, saved or made new (the caption then ends with "*").
  bool isModified() const;
  // The crew limits edited in "Графики" (Id -> limit), which that window finds by name:
  // kept with the data set, which is then modified.
  Q_INVOKABLE void keepCrewLimits(const QVariantMap& limits);
  // A data file named on the command line: opened as "Открыть ..." opens it, once the
  // window has first been activated.
  void setStartFile(const QString& name) { startFile_ = name; }
  const QString& dataFileName() const { return DataFileName; }
  int collapsedHeight() const { return CollapsedHeight; }
  // What a secondary window opening beside the main window must not cover, on the
  // screen: the frame with the works table shown, from its left edge to the end of the
  // toolbar's buttons or of the table's columns, whichever lies further right.
  QRect workingArea() const;

  // Controls, named as in the design.
  QFrame* Panel1 = nullptr;
  QFrame* Panel3 = nullptr;
  QFrame* Panel4 = nullptr;
  TGradientPanel* Panel2 = nullptr;
  QToolButton* RxSpeedButton1 = nullptr;  // "Данные по работам"
  QToolButton* RxSpeedButton2 = nullptr;  // "Новые данные"
  QToolButton* RxSpeedButton3 = nullptr;  // "Открыть файл"
  QToolButton* RxSpeedButton4 = nullptr;  // "Сохранить файл"
  QToolButton* RxSpeedButton5 = nullptr;  // "Расчет"
  QToolButton* RxSpeedButton6 = nullptr;  // "Оптимизация"
  QToolButton* RxSpeedButton8 = nullptr;  // "Печать результатов"
  QToolButton* RxSpeedButton9 = nullptr;  // "Просмотр результатов"
  QToolButton* RxSpeedButton10 = nullptr;  // "Графики"
  QGroupBox* GroupBox1 = nullptr;
  QGroupBox* GroupBox2 = nullptr;
  TCurrencyEdit* CurrencyEdit1 = nullptr;  // variant number
  TCurrencyEdit* CurrencyEdit2 = nullptr;  // works count
  TCurrencyEdit* CurrencyEdit3 = nullptr;  // events count
  TCurrencyEdit* CurrencyEdit5 = nullptr;  // hidden: print height in its stored form
  TCurrencyEdit* CurrencyEdit6 = nullptr;  // hidden: preview zoom in its stored form
  QLabel* RxLabel1 = nullptr;
  TShadowLabel* RxLabel2 = nullptr;
  TAnimatedImage* AnimatedImage1 = nullptr;
  TStringGrid* StringGrid1 = nullptr;
  QMenu* PopupMenu1 = nullptr;
  QAction* N2 = nullptr;   // "Создать"
  QAction* N3 = nullptr;   // "Открыть ..."
  QAction* N4 = nullptr;   // "Сохранить"
  QAction* N5 = nullptr;   // "Сохранить как ..."
  QAction* N7 = nullptr;   // "Выход"
  QAction* N10 = nullptr;  // "Расчет режима"
  QAction* N11 = nullptr;  // "Отимизация"
  QAction* N13 = nullptr;  // "Параметры"
  QAction* N15 = nullptr;  // "О программе"
  QAction* N16 = nullptr;  // "Удалить строку"
  QAction* N17 = nullptr;  // "Вставить строку"
  QAction* N18 = nullptr;  // "Отдельным окном"
  QAction* N19 = nullptr;  // "Закрыть данные"
  QAction* N20 = nullptr;  // "Графики"
  QAction* N21 = nullptr;  // "Печать результатов"
  QAction* N30 = nullptr;  // "Календарь проекта..."
  QAction* N22 = nullptr;  // "Отменить"
  QAction* N23 = nullptr;  // "Повторить"
  QAction* N24 = nullptr;  // "Вырезать"
  QAction* N25 = nullptr;  // "Копировать"
  QAction* N26 = nullptr;  // "Вставить"
  QAction* N27 = nullptr;  // "Очистить"

  // Handlers.
  void FormCreate();
  void FormActivate();
  void RxSpeedButton1Click();
  void RxSpeedButton2Click();
  void RxSpeedButton3Click();
  void RxSpeedButton4Click();
  void RxSpeedButton5Click();
  void RxSpeedButton6Click();
  void RxSpeedButton8Click();
  void RxSpeedButton9Click();
  void RxSpeedButton10Click();
  void N2Click();
  void N3Click();
  void N4Click();
  void N5Click();
  void N7Click();
  void N10Click();
  void N11Click();
  void N13Click();
  void N15Click();
  void N16Click();
  void N17Click();
  void N18Click();
  void N19Click();
  void N20Click();
  void N21Click();
  void N24Click();
  void N25Click();
  void N26Click();
  void N27Click();
  void N30Click();
  void CurrencyEdit2Enter();
  void CurrencyEdit3Change();
  void FormStorage1RestorePlacement();

  void ToggleWorksTable();
  void ResetData();
  void UpdateCaption();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void createToolbar();
  void createCountsPanel();
  void createTablePanel();
  void createStatusLine();
  void createMenus();
  void createEditMenu();
  void connectHandlers();
  void connectHistory();
  void showShortcutsInHints();
  QToolButton* toolButton(const char* name, const QString& hint, int iconKind);

  void setWindowHeight(int height);
  void keepBottomOnScreen();
  void collapse() { setWindowHeight(CollapsedHeight); }
  bool isCollapsed() const { return height() == CollapsedHeight; }
  void setCalculationEnabled(bool enabled);
  void setResultCommandsEnabled(bool enabled);
  void runResultsCommand(bool optimise);
  TableInput worksInput() const;
  void writeDataFile(const QString& name);

  // Opens the data file `name` as "Открыть ..." does after its dialog; false when it
  // could not be read (the error has been shown and nothing changed).
  bool openDataFile(const QString& name);
  bool openProjectXml(const QString& name);
  // "Сохранить": "Сохранить как ..." while the data set has no file the user chose.
  // False when the user cancelled or the file could not be written (the error has been
  // shown).
  bool saveDataFile();
  bool saveDataFileAs();
  // The data set is now the one in DataFileName: clean history, no "*", a recent file.
  void markSaved();
  // Before the data set is replaced or the program ends: asks whether to save the
  // changes. False when the user cancels, or the save failed: nothing may be discarded.
  bool mayDiscardChanges();
  // The data set now is the one in the file: a new history, and no "*".
  void startHistory();
  void rememberFile(const QString& name);
  void openRecentFile(const QString& name);
  void openDroppedFile(const QString& name);
  void showRecentFiles();
  void markModified();
  QStringList boxTexts() const;
  void recordCellEdit(int column, int row, const std::string& text, int session);
  void pressShortcut(const QAction* action);

  WorksTableModel* worksModel_ = nullptr;
  WorksHistory* history_ = nullptr;
  // The three box texts as last opened, saved or made new: a typed count or variant
  // number not yet taken over is a change too.
  QStringList savedBoxTexts_;
  DataSetExtras savedExtras_;  // the start date, calendar, names and limits as last opened or saved
  QString startFile_;
  std::unique_ptr<RecentFiles> recentFiles_;
  QMenu* fileMenu_ = nullptr;
  QList<QAction*> recentActions_;
  int CollapsedHeight = 0;
  bool CollapsedHeightKnown = false;
  bool WasActivated = false;
  QString DataFileName;
  // Whether DataFileName was opened or chosen by the user; "Default.dat" of new data is
  // not, and saving it without a dialog would replace whatever file of that name lies in
  // the current folder.
  bool DataFileChosen = false;

  MadeAtFirstUse<Trab_form> rab_form_;
  MadeAtFirstUse<TPros_form> Pros_form_;
  MadeAtFirstUse<QDialog> Param_;
  MadeAtFirstUse<QDialog> Above_;
  MadeAtFirstUse<QWidget> Charts_form_;  // from the module loaded at its first use
  // The last run of the data set loaded, for "Графики", and the works it was made from,
  // which tell when the data set has changed since.
  ChartsRun LastRun;
  std::shared_ptr<const WorksState> LastRunWorks;
  void showRunInCharts();
  void forgetRun();        // the data set was replaced
  void noteDataChange();   // after any change of the works or the counts

  // In the order they stand on the window; at showing the profile is restored first, so
  // the per-user placement is the one in force.
  std::unique_ptr<FormPlacement> FormPlacement1;
  std::unique_ptr<FormStorage> FormStorage1;
};

}  // namespace velko
