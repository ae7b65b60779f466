// The program's windows over two runs: the main window's placement and the two print
// options, and the separate works window's own placement, kept in temporary stores.
#include <memory>

#include <gtest/gtest.h>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "ui/currency_edit.h"
#include "ui/main_form.h"
#include "ui/options/param_dialog.h"
#include "ui/options/print_options.h"
#include "ui/options/settings_store.h"
#include "ui/works/rab_form.h"
#include "ui_test_support.h"

namespace velko::testing {
namespace {

// One start of the program over stores in `folder`; the works window made at once, or
// at its first use as app/main.cpp makes it.
struct ProgramRun {
  enum class Works { Ready, AtFirstUse };
  explicit ProgramRun(const QTemporaryDir& folder, Works works = Works::Ready)
      : profileSettings(folder.filePath(QStringLiteral("Velko.ini")), QSettings::IniFormat),
        userSettings(folder.filePath(QStringLiteral("velko.conf")), QSettings::IniFormat) {
    printOptions() = TPrintOptions{};  // a new process starts at the defaults
    main = new TMain;
    main->setStores(profile, user);
    auto make = [this] {
      rab = new Trab_form(main);
      rab->setPlacementStore(user);
      return rab;
    };
    if (works == Works::Ready)
      main->setWorksWindow(make());
    else
      main->setWorksWindowMaker(make);
  }
  ~ProgramRun() { delete main; }

  void start() {
    main->show();
    EXPECT_TRUE(waitUntilActive(main));
  }

  QSettings profileSettings;
  QSettings userSettings;
  SettingsStore profile{profileSettings};
  SettingsStore user{userSettings};
  TMain* main = nullptr;
  Trab_form* rab = nullptr;
};

class StoredPlacement : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder.isValid()); }
  QVariant stored(const char* file, const char* key) const {
    return QSettings(folder.filePath(QString::fromLatin1(file)), QSettings::IniFormat)
        .value(QString::fromLatin1(key));
  }
  void store(const char* file, const char* key, const QString& value) const {
    QSettings(folder.filePath(QString::fromLatin1(file)), QSettings::IniFormat)
        .setValue(QString::fromLatin1(key), value);
  }

  QTemporaryDir folder;
  Modals modals;
};

TEST_F(StoredPlacement, FirstRunWithNoStoresGivesTheDefaultsAndWritesThemAtExit) {
  {
    ProgramRun run(folder);
    run.start();
    EXPECT_EQ(printOptions().PrintHeight, 750);
    EXPECT_EQ(printOptions().PreviewZoom, 120);
    run.main->N7->trigger();  // "Выход"
  }
  EXPECT_EQ(stored("Velko.ini", "TMain/CurrencyEdit5_Text").toString(), QStringLiteral("750"));
  EXPECT_EQ(stored("Velko.ini", "TMain/CurrencyEdit6_Text").toString(), QStringLiteral("120"));
  EXPECT_TRUE(stored("velko.conf", "TMain/NormPos").isValid());
  EXPECT_FALSE(stored("velko.conf", "Trab_form/NormPos").isValid());  // never shown
  EXPECT_TRUE(modals.boxes.isEmpty());
}

TEST_F(StoredPlacement, OptionsAndBothWindowsComeBackAsTheyWereLeft) {
  QRect mainPlace;
  {
    ProgramRun run(folder);
    run.start();
    run.main->move(130, 70);
    mainPlace = run.main->geometry();
    TParam param(printOptions(), {run.main->CurrencyEdit5, run.main->CurrencyEdit6});
    param.show();
    param.CurrencyEdit1->setText(QStringLiteral("900"));
    param.CurrencyEdit2->setText(QStringLiteral("150"));
    param.RxSpeedButton1->click();  // "Применить"
    run.rab->showForm();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(run.rab));
    run.rab->setGeometry(420, 110, 276, 300);
    run.rab->RxSpeedButton2->click();  // "Отмена" closes it
    run.main->close();
  }
  ProgramRun run(folder);
  run.start();
  EXPECT_EQ(printOptions().PrintHeight, 900);
  EXPECT_EQ(printOptions().PreviewZoom, 150);
  EXPECT_EQ(run.main->geometry(), mainPlace);
  EXPECT_EQ(run.main->height(), run.main->collapsedHeight());  // the first activation
  run.rab->showForm();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(run.rab));
  EXPECT_EQ(run.rab->geometry(), QRect(420, 110, 276, 300));
  EXPECT_TRUE(modals.boxes.isEmpty());
}

TEST_F(StoredPlacement, WorksWindowOpenAtTheEndIsSavedAsVisible) {
  QRect place;
  {
    ProgramRun run(folder);
    run.start();
    run.rab->showForm();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(run.rab));
    run.rab->setGeometry(300, 200, 276, 320);
    place = run.rab->geometry();
  }  // the program ends with the window still open
  EXPECT_TRUE(stored("velko.conf", "Trab_form/Visible").toBool());
  EXPECT_EQ(stored("velko.conf", "Trab_form/NormPos").toString(),
            QStringLiteral("%1,%2,%3,%4")
                .arg(place.left())
                .arg(place.top())
                .arg(place.right() + 1)
                .arg(place.bottom() + 1));
}

TEST_F(StoredPlacement, WorksWindowMadeAtFirstUseComesBackWhereItWasLeft) {
  const QRect place(420, 110, 276, 300);
  {
    ProgramRun run(folder, ProgramRun::Works::AtFirstUse);
    run.start();
    EXPECT_EQ(run.rab, nullptr);
    run.main->N18->trigger();  // "Отдельным окном"
    ASSERT_NE(run.rab, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(run.rab));
    run.rab->setGeometry(place);
    run.rab->close();
    Trab_form* made = run.rab;
    run.main->N18->trigger();
    EXPECT_EQ(run.rab, made);  // made once
    run.main->close();
  }
  ProgramRun run(folder, ProgramRun::Works::AtFirstUse);
  run.start();
  run.main->N18->trigger();
  ASSERT_NE(run.rab, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(run.rab));
  EXPECT_EQ(run.rab->geometry(), place);
  EXPECT_TRUE(modals.boxes.isEmpty());
}

TEST_F(StoredPlacement, DamagedStoredOptionIsReportedAndTheWindowStillShows) {
  store("Velko.ini", "TMain/CurrencyEdit5_Text", QStringLiteral("7x"));
  ProgramRun run(folder);
  run.start();
  EXPECT_TRUE(run.main->isVisible());
  ASSERT_EQ(modals.texts(), QStringList{QStringLiteral("'7x' is not a valid integer value")});
  EXPECT_EQ(modals.boxes.front().icon, QMessageBox::Critical);
  EXPECT_EQ(printOptions().PrintHeight, 750);
}

}  // namespace
}  // namespace velko::testing
