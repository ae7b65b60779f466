// The program's start: the windows in their fixed order, only the main window shown.
// The secondary windows are made at their first use, which no one can tell from their
// being made here: each restores its placement when it is first shown, and one never
// shown keeps what its store holds. The window "Графики" and the printed report's owner
// come from a module loaded then (ui/late_windows.h): the program starts without the
// libraries only they need.
#include <clocale>
#include <csignal>

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "model/network_model.h"
#include "ui/command_guard.h"
#include "ui/command_line.h"
#include "ui/currency_edit.h"
#include "ui/main_form.h"
#include "ui/options/about_box.h"
#include "ui/options/param_dialog.h"
#include "ui/options/print_options.h"
#include "ui/options/settings_store.h"
#include "ui/pros_form.h"
#include "ui/works/rab_form.h"
#include "ui/rasch.h"

int main(int argc, char** argv) {
  // Past a file size limit a save must fail with its message, not end the program.
  std::signal(SIGXFSZ, SIG_IGN);
  QApplication app(argc, argv);
  // QApplication has switched the C library to the user's locale; with LC_NUMERIC at
  // ru_RU printf and strtod (ours and those of Graphviz and libpng) use a decimal comma.
  // Qt's own number texts and the texts shown to the user do not depend on it.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName(QStringLiteral("velko"));
  // The window layouts were made for this font's widths; Liberation Sans has them.
  QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
  // Qt's own dialogs (file dialogs, message box buttons) in Russian, like the program.
  QTranslator qtTranslator;
  if (qtTranslator.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&qtTranslator);
  }
  const QString startFile = velko::dataFileArgument(app);  // "velko [FILE]"

  // A store that cannot be moved stays in its old place: the program then starts with
  // the defaults and the next start tries again.
  velko::runCommand(nullptr, [] {
    velko::moveOldStores(velko::ProgramStores::configFolder(), velko::ProgramStores::programName());
  });
  // Opened before the windows and closed after them, so the last save finds them open.
  velko::ProgramStores stores;

  // Every window lives until the program ends; the secondary ones are owned by Main.
  auto* Main = new velko::TMain;
  Main->setStores(stores.profile(), stores.user());
  Main->setStartFile(startFile);
  velko::SettingsStore& user = stores.user();
  Main->setWorksWindowMaker([Main, &user] {
    auto* rab_form = new velko::Trab_form(Main);
    rab_form->setPlacementStore(user);
    return rab_form;
  });
  Main->setAboutBoxMaker([Main] { return new velko::TAbove(Main); });
  Main->setResultsViewerMaker([Main] { return new velko::TPros_form(Main); });
  new velko::Trasch(Main);
  velko::runCommand(nullptr, [&user] { velko::loadSolverOptions(velko::solverOptions(), user); });
  Main->setOptionsDialogMaker([Main, &user] {
    auto* dialog = new velko::TParam(velko::printOptions(), {Main->CurrencyEdit5, Main->CurrencyEdit6}, Main);
    dialog->setSolverOptions(velko::solverOptions(), [Main, &user] {
      velko::saveSolverOptions(velko::solverOptions(), user);
      Main->solverOptionsChanged();
    });
    return dialog;
  });

  Main->show();
  const int result = QApplication::exec();
  delete Main;
  return result;
}
