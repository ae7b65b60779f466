#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QSettings>
#include <QShowEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <memory>
#include <utility>

#include "model/command_error.h"
#include "options_test_support.h"
#include "ui/options/form_placement.h"
#include "ui/options/param_dialog.h"
#include "ui/options/print_option_boxes.h"
#include "ui/options/settings_store.h"

namespace velko {
namespace {

// One run of the program as far as the stores go: both files opened at its start and
// written when it ends.
struct ProgramRun {
  ProgramRun(const QString& profilePath, const QString& userPath)
      : profileSettings(profilePath, QSettings::IniFormat),
        userSettings(userPath, QSettings::IniFormat) {}
  QSettings profileSettings;
  QSettings userSettings;
  SettingsStore profile{profileSettings};
  SettingsStore user{userSettings};
};

// A window with a placement, hooked as the program's windows hook theirs.
class PlacedWindow : public QWidget {
 public:
  PlacedWindow(SettingsStore& store, const QString& section, QStringList& errors)
      : placement(this, store, section) {
    placement.setErrorReporter([&errors](const QString& message) { errors << message; });
  }
  FormPlacement placement;

 protected:
  void showEvent(QShowEvent* event) override {
    QWidget::showEvent(event);
    if (!event->spontaneous()) placement.restore();
  }
  void closeEvent(QCloseEvent* event) override {
    QWidget::closeEvent(event);
    if (event->isAccepted()) placement.save();
  }
};

// The main window's part in the stored settings: the hidden boxes, the options taken at
// creation, the profile store restored before the per-user one, both saved at closing.
class StandInMain : public QWidget {
 public:
  StandInMain(ProgramRun& run, QStringList& errors)
      : CurrencyEdit5(new QLineEdit(QStringLiteral("750"), this)),
        CurrencyEdit6(new QLineEdit(QStringLiteral("120"), this)),
        FormPlacement1(this, run.user, QStringLiteral("TMain")),
        FormStorage1(this, run.profile, QStringLiteral("TMain")) {
    CurrencyEdit5->setObjectName(QStringLiteral("CurrencyEdit5"));
    CurrencyEdit6->setObjectName(QStringLiteral("CurrencyEdit6"));
    CurrencyEdit5->hide();
    CurrencyEdit6->hide();
    const auto report = [&errors](const QString& message) { errors << message; };
    FormPlacement1.setErrorReporter(report);
    FormStorage1.setErrorReporter(report);
    FormStorage1.addStoredText(CurrencyEdit5);
    FormStorage1.addStoredText(CurrencyEdit6);
    FormStorage1.setRestoredHandler([this] {
      takeStoredPrintOptions(printOptions(), {CurrencyEdit5, CurrencyEdit6});
    });
    takePrintOptionsFromBoxes(printOptions(), {CurrencyEdit5, CurrencyEdit6});
  }

  QLineEdit* CurrencyEdit5;
  QLineEdit* CurrencyEdit6;
  FormPlacement FormPlacement1;
  FormStorage FormStorage1;

 protected:
  void showEvent(QShowEvent* event) override {
    QWidget::showEvent(event);
    if (event->spontaneous()) return;
    FormStorage1.restore();
    FormPlacement1.restore();
  }
  void closeEvent(QCloseEvent* event) override {
    QWidget::closeEvent(event);
    if (!event->isAccepted()) return;
    FormPlacement1.save();
    FormStorage1.save();
  }
};

class StoredSettings : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    printOptions() = TPrintOptions{};
  }

  std::unique_ptr<ProgramRun> startRun() {
    return std::make_unique<ProgramRun>(profilePath, userPath);
  }
  static void showAndWait(QWidget& window) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
  QVariant stored(const QString& path, const QString& key) const {
    return QSettings(path, QSettings::IniFormat).value(key);
  }
  void store(const QString& path, const QString& key, const QVariant& value) const {
    QSettings settings(path, QSettings::IniFormat);
    settings.setValue(key, value);
  }

  QTemporaryDir folder;
  QString profilePath = folder.filePath(QStringLiteral("Velko.ini"));
  QString userPath = folder.filePath(QStringLiteral("velko.conf"));
  QStringList errors;
};

// --- The placement of one window -------------------------------------------------------

TEST_F(StoredSettings, PositionSizeAndStateSurviveTheNextRun) {
  {
    auto run = startRun();
    PlacedWindow window(run->user, QStringLiteral("Trab_form"), errors);
    window.setGeometry(120, 90, 276, 300);
    showAndWait(window);
    window.close();
  }
  EXPECT_EQ(stored(userPath, QStringLiteral("Trab_form/NormPos")).toString(),
            QStringLiteral("120,90,396,390"));
  EXPECT_EQ(stored(userPath, QStringLiteral("Trab_form/ShowCmd")).toString(), QStringLiteral("1"));
  {
    auto run = startRun();
    PlacedWindow window(run->user, QStringLiteral("Trab_form"), errors);
    window.setGeometry(10, 10, 276, 375);
    showAndWait(window);
    EXPECT_EQ(window.geometry(), QRect(120, 90, 276, 300));
    window.showMaximized();
    window.close();
  }
  {
    auto run = startRun();
    PlacedWindow window(run->user, QStringLiteral("Trab_form"), errors);
    showAndWait(window);
    EXPECT_TRUE(window.isMaximized());
    EXPECT_EQ(window.normalGeometry(), QRect(120, 90, 276, 300));
    window.close();
  }
  // A run spent maximised keeps the normal rectangle for the next.
  EXPECT_EQ(stored(userPath, QStringLiteral("Trab_form/NormPos")).toString(),
            QStringLiteral("120,90,396,390"));
  EXPECT_EQ(stored(userPath, QStringLiteral("Trab_form/ShowCmd")).toString(), QStringLiteral("3"));
  EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

TEST_F(StoredSettings, MinimisedFromMaximisedComesBackSo) {
  store(userPath, QStringLiteral("TMain/ShowCmd"), 2);
  store(userPath, QStringLiteral("TMain/Flags"), 2);
  auto run = startRun();
  PlacedWindow window(run->user, QStringLiteral("TMain"), errors);
  window.show();
  EXPECT_EQ(window.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized),
            Qt::WindowMinimized | Qt::WindowMaximized);
  window.close();
  EXPECT_EQ(stored(userPath, QStringLiteral("TMain/Flags")).toString(), QStringLiteral("2"));
}

TEST_F(StoredSettings, MissingEntriesLeaveTheWindowAsItIs) {
  store(userPath, QStringLiteral("TMain/ShowCmd"), 1);
  auto run = startRun();
  PlacedWindow window(run->user, QStringLiteral("TMain"), errors);
  window.setGeometry(40, 50, 300, 200);
  showAndWait(window);
  EXPECT_EQ(window.geometry(), QRect(40, 50, 300, 200));
  PlacedWindow other(run->user, QStringLiteral("Nothing"), errors);
  other.setGeometry(60, 70, 200, 100);
  showAndWait(other);
  EXPECT_EQ(other.geometry(), QRect(60, 70, 200, 100));
  EXPECT_TRUE(errors.isEmpty());
}

TEST_F(StoredSettings, FixedSizeWindowGetsBackItsPositionOnly) {
  store(userPath, QStringLiteral("TParam/NormPos"), QStringLiteral("100,80,500,480"));
  auto run = startRun();
  PlacedWindow window(run->user, QStringLiteral("TParam"), errors);
  window.setFixedSize(266, 118);
  showAndWait(window);
  EXPECT_EQ(window.geometry(), QRect(100, 80, 266, 118));
}

// A screen that has gone since the last run must not take the window with it, and a
// damaged number must neither hide it nor overflow (-2147483648 used to put the window
// at -32767 and abort the sanitizer build): such a placement is ignored whole.
TEST_F(StoredSettings, PlacementOffEveryScreenOrOutOfRangeIsIgnored) {
  for (const char* normPos : {"5000,4000,5345,4300", "-2147483648,-2147483648,-2147483648,-2147483648",
                              "2147483647,2147483647,-2147483648,-2147483648", "-2147483648,0,2147483647,300",
                              "10,-500,355,500", "-330,40,15,340", "0,0,-40000,300"}) {
    store(userPath, QStringLiteral("TMain/NormPos"), QString::fromLatin1(normPos));
    store(userPath, QStringLiteral("TMain/ShowCmd"), 3);
    auto run = startRun();
    PlacedWindow window(run->user, QStringLiteral("TMain"), errors);
    window.setGeometry(30, 40, 100, 100);
    showAndWait(window);
    EXPECT_EQ(window.geometry(), QRect(30, 40, 100, 100)) << normPos;
    EXPECT_FALSE(window.isMaximized()) << normPos;
  }
  EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

TEST_F(StoredSettings, DamagedEntryIsReportedAndTheWindowStillShows) {
  store(userPath, QStringLiteral("TMain/NormPos"), QStringLiteral("12,x,40,50"));
  store(userPath, QStringLiteral("TMain/ShowCmd"), 3);
  auto run = startRun();
  PlacedWindow window(run->user, QStringLiteral("TMain"), errors);
  window.setGeometry(30, 40, 100, 100);
  showAndWait(window);
  EXPECT_EQ(errors, QStringList{QStringLiteral("'x' is not a valid integer value")});
  EXPECT_TRUE(window.isVisible());
  EXPECT_FALSE(window.isMaximized());
  EXPECT_EQ(window.geometry(), QRect(30, 40, 100, 100));
}

// A NUL used to cut the message short at the quote ("'12"), and a single number read
// past the end of the list.
TEST_F(StoredSettings, DamagedPlacementGivesAReadableMessage) {
  const std::pair<QString, QString> cases[] = {
      {QString::fromLatin1("12\0,3,40,50", 11), QStringLiteral("значение TMain/NormPos содержит нулевой байт")},
      {QStringLiteral("1"), QStringLiteral("в значении TMain/NormPos не четыре числа: '1'")}};
  for (const auto& [normPos, message] : cases) {
    store(userPath, QStringLiteral("TMain/NormPos"), normPos);
    errors.clear();
    auto run = startRun();
    PlacedWindow window(run->user, QStringLiteral("TMain"), errors);
    window.setGeometry(30, 40, 100, 100);
    showAndWait(window);
    EXPECT_EQ(errors, QStringList{QStringLiteral("Файл настроек %1: %2").arg(userPath, message)});
    EXPECT_EQ(window.geometry(), QRect(30, 40, 100, 100));
  }
}

TEST_F(StoredSettings, UnwritableStoreIsReportedAndTheWindowStillCloses) {
  ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("blocked.conf")));
  const QString blocked = folder.filePath(QStringLiteral("blocked.conf"));
  QSettings settings(blocked, QSettings::IniFormat);
  SettingsStore store(settings);
  PlacedWindow window(store, QStringLiteral("TMain"), errors);
  showAndWait(window);
  window.close();
  EXPECT_FALSE(window.isVisible());
  ASSERT_FALSE(errors.isEmpty());
  EXPECT_TRUE(errors.last().contains(blocked)) << errors.last().toStdString();
}

// --- Saving at program end -------------------------------------------------------------

TEST_F(StoredSettings, WindowStillOpenAtTheEndIsSavedAsVisible) {
  auto run = startRun();
  PlacedWindow closed(run->user, QStringLiteral("TMain"), errors);
  PlacedWindow open(run->user, QStringLiteral("Trab_form"), errors);
  showAndWait(closed);
  showAndWait(open);
  closed.close();
  open.setGeometry(200, 150, 276, 260);

  // exit() rather than quit(): Qt's quit() first closes the open windows, which then save
  // through their close hooks; here the event loop ends with the works window still up.
  QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
  QCoreApplication::exec();

  EXPECT_TRUE(open.placement.savedSinceRestore());
  EXPECT_TRUE(stored(userPath, QStringLiteral("Trab_form/Visible")).toBool());
  EXPECT_EQ(stored(userPath, QStringLiteral("Trab_form/NormPos")).toString(),
            QStringLiteral("200,150,476,410"));
  EXPECT_FALSE(stored(userPath, QStringLiteral("TMain/Visible")).toBool());
}

TEST_F(StoredSettings, WindowNeverShownKeepsItsStoredPlacement) {
  store(userPath, QStringLiteral("Trab_form/NormPos"), QStringLiteral("300,200,576,575"));
  {
    auto run = startRun();
    PlacedWindow never(run->user, QStringLiteral("Trab_form"), errors);
    never.setGeometry(0, 0, 276, 375);
  }
  EXPECT_EQ(stored(userPath, QStringLiteral("Trab_form/NormPos")).toString(),
            QStringLiteral("300,200,576,575"));
}

// --- The main window, the options and the works window over two runs --------------------

TEST_F(StoredSettings, FirstRunWithNoStoresGivesTheDefaults) {
  auto run = startRun();
  StandInMain main(*run, errors);
  showAndWait(main);
  EXPECT_EQ(printOptions().PrintHeight, 750);
  EXPECT_EQ(printOptions().PreviewZoom, 120);
  EXPECT_TRUE(errors.isEmpty());
}

TEST_F(StoredSettings, AppliedOptionsAndPlacementSurviveANormalExit) {
  {
    auto run = startRun();
    StandInMain main(*run, errors);
    showAndWait(main);
    main.setGeometry(150, 60, 345, 470);
    TParam param(printOptions(), {main.CurrencyEdit5, main.CurrencyEdit6});
    param.show();
    param.CurrencyEdit1->setText(QStringLiteral("900"));
    param.CurrencyEdit2->setText(QStringLiteral("150"));
    param.RxSpeedButton1->click();
    main.close();
  }
  EXPECT_EQ(stored(profilePath, QStringLiteral("TMain/CurrencyEdit5_Text")).toString(),
            QStringLiteral("900"));
  EXPECT_EQ(stored(profilePath, QStringLiteral("TMain/CurrencyEdit6_Text")).toString(),
            QStringLiteral("150"));
  printOptions() = TPrintOptions{};  // a new process starts at the defaults

  auto run = startRun();
  StandInMain main(*run, errors);
  EXPECT_EQ(printOptions().PrintHeight, 750);  // until the restore
  showAndWait(main);
  EXPECT_EQ(printOptions().PrintHeight, 900);
  EXPECT_EQ(printOptions().PreviewZoom, 150);
  EXPECT_EQ(main.geometry(), QRect(150, 60, 345, 470));
  EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

TEST_F(StoredSettings, PerUserPlacementWinsOverTheProfile) {
  store(profilePath, QStringLiteral("TMain/NormPos"), QStringLiteral("10,10,355,210"));
  store(userPath, QStringLiteral("TMain/NormPos"), QStringLiteral("70,80,415,380"));
  auto run = startRun();
  StandInMain main(*run, errors);
  showAndWait(main);
  EXPECT_EQ(main.geometry(), QRect(70, 80, 345, 300));
  main.close();
  EXPECT_EQ(stored(profilePath, QStringLiteral("TMain/NormPos")).toString(),
            QStringLiteral("70,80,415,380"));
}

TEST_F(StoredSettings, RefusedApplyLeavesTheStoresUnchanged) {
  auto run = startRun();
  StandInMain main(*run, errors);
  showAndWait(main);
  TParam param(printOptions(), {main.CurrencyEdit5, main.CurrencyEdit6});
  param.setErrorReporter([this](const QString& message) { errors << message; });
  param.show();
  param.CurrencyEdit1->setText(QStringLiteral("900"));
  param.CurrencyEdit2->setText(QStringLiteral("1,5"));
  param.RxSpeedButton1->click();
  param.close();
  main.close();
  EXPECT_EQ(errors.size(), 1);
  EXPECT_EQ(printOptions().PrintHeight, 900);
  EXPECT_EQ(stored(profilePath, QStringLiteral("TMain/CurrencyEdit5_Text")).toString(),
            QStringLiteral("750"));
  EXPECT_EQ(stored(profilePath, QStringLiteral("TMain/CurrencyEdit6_Text")).toString(),
            QStringLiteral("120"));
}

TEST_F(StoredSettings, DamagedStoredOptionIsReportedOnceAndMended) {
  store(profilePath, QStringLiteral("TMain/CurrencyEdit5_Text"), QStringLiteral("7x"));
  store(profilePath, QStringLiteral("TMain/CurrencyEdit6_Text"), QStringLiteral("150"));
  {
    auto run = startRun();
    StandInMain main(*run, errors);
    showAndWait(main);
    EXPECT_EQ(errors, QStringList{QStringLiteral("'7x' is not a valid integer value")});
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(printOptions().PrintHeight, 750);
    EXPECT_EQ(printOptions().PreviewZoom, 120);
    main.close();
  }
  EXPECT_EQ(stored(profilePath, QStringLiteral("TMain/CurrencyEdit5_Text")).toString(),
            QStringLiteral("750"));
  errors.clear();
  auto run = startRun();
  StandInMain main(*run, errors);
  showAndWait(main);
  EXPECT_TRUE(errors.isEmpty());
}

TEST_F(StoredSettings, WorksWindowKeepsItsOwnSection) {
  {
    auto run = startRun();
    StandInMain main(*run, errors);
    PlacedWindow works(run->user, QStringLiteral("Trab_form"), errors);
    showAndWait(main);
    main.setGeometry(20, 30, 345, 250);
    works.setGeometry(400, 100, 276, 375);
    showAndWait(works);
    works.resize(276, 300);
    works.close();
    main.close();
  }
  auto run = startRun();
  StandInMain main(*run, errors);
  PlacedWindow works(run->user, QStringLiteral("Trab_form"), errors);
  showAndWait(main);
  showAndWait(works);
  EXPECT_EQ(main.geometry(), QRect(20, 30, 345, 250));
  EXPECT_EQ(works.geometry(), QRect(400, 100, 276, 300));
}

// --- Where the program's stores lie -----------------------------------------------------

TEST(ProgramStoresLocation, ProfileAndPerUserStoreInTheProgramsConfigFolder) {
  const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
  ASSERT_EQ(ProgramStores::configFolder(), config);
  ProgramStores stores;
  EXPECT_EQ(stores.profile().fileName(), config + QStringLiteral("/velko/Velko.ini"));
  EXPECT_EQ(stores.user().fileName(), config + QStringLiteral("/velko/options_tests.conf"));
}

// --- Stores of earlier versions ----------------------------------------------------------

class OldStores : public ::testing::Test {
 protected:
  QString path(const QString& name) const { return config.filePath(name); }
  static QByteArray bytes(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<absent>");
  }
  static void put(const QString& file, const QByteArray& content) {
    QDir().mkpath(QFileInfo(file).path());
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
  }
  void move() { moveOldStores(config.path(), QStringLiteral("velko")); }

  QTemporaryDir config;
  const QByteArray profile = "[TMain]\nCurrencyEdit5_Text=900\n";
  const QByteArray user = "[Trab_form]\nNormPos=\"1,2,3,4\"\n";
};

TEST_F(OldStores, MoveIntoTheProgramsFolderOnceAndKeepWhatIsThere) {
  put(path("Velko.ini"), profile);
  put(path("Software/velko.conf"), user);
  move();
  EXPECT_EQ(bytes(path("velko/Velko.ini")), profile);
  EXPECT_EQ(bytes(path("velko/velko.conf")), user);
  EXPECT_FALSE(QFileInfo::exists(path("Velko.ini")));
  EXPECT_FALSE(QFileInfo::exists(path("Software")));  // emptied, so removed

  // An old store found beside a newer one is left alone, and the newer one kept.
  put(path("Velko.ini"), "[TMain]\nCurrencyEdit5_Text=1\n");
  put(path("Software/other.conf"), "x");
  move();
  EXPECT_EQ(bytes(path("velko/Velko.ini")), profile);
  EXPECT_EQ(bytes(path("Velko.ini")), "[TMain]\nCurrencyEdit5_Text=1\n");
  EXPECT_TRUE(QFileInfo::exists(path("Software/other.conf")));
}

TEST_F(OldStores, AStoreThatCannotBeMovedStaysAndIsReported) {
  put(path("Velko.ini"), profile);
  put(path("velko"), "a file where the folder belongs");
  try {
    move();
    ADD_FAILURE() << "no error";
  } catch (const CommandError& error) {
    EXPECT_TRUE(QString::fromStdString(error.what())
                    .startsWith(QStringLiteral("Unable to move the settings file ") +
                                path("Velko.ini") + QStringLiteral(" to ")));
  }
  EXPECT_EQ(bytes(path("Velko.ini")), profile);
}

TEST(OldStoresMoved, ReadByTheProgramsStoresUnderTheSameNames) {
  const QDir config(ProgramStores::configFolder());
  {
    QSettings old(config.filePath(QStringLiteral("Velko.ini")), QSettings::IniFormat);
    old.setValue(QStringLiteral("TMain/CurrencyEdit5_Text"), QStringLiteral("900"));
  }
  moveOldStores(config.path(), ProgramStores::programName());
  {
    ProgramStores stores;
    EXPECT_EQ(stores.profile().readText(QStringLiteral("TMain"), QStringLiteral("CurrencyEdit5_Text")),
              QStringLiteral("900"));
  }
  QFile::remove(config.filePath(QStringLiteral("velko/Velko.ini")));
}

}  // namespace
}  // namespace velko
