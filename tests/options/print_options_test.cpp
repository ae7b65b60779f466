#include <gtest/gtest.h>
#include <QLineEdit>

#include "model/command_error.h"
#include "options_test_support.h"
#include "ui/options/print_option_boxes.h"
#include "ui/options/print_options.h"
#include "ui/options/settings_store.h"
#include "ui/options/solver_options.h"

#include <QSettings>
#include <QTemporaryDir>

namespace velko {
namespace {

TEST(PrintOptionsRule, BadHeightChangesNeitherOption) {
  TPrintOptions options;
  EXPECT_THROW(takePrintOptions(options, "", "150"), CommandError);
  EXPECT_EQ(options.PrintHeight, 750);
  EXPECT_EQ(options.PreviewZoom, 120);
}

// A damaged stored text must not stay in the hidden box, or every save would write it
// back and every start would complain again.
TEST(StoredPrintOptions, RefusedTextsGiveWayToTheValuesInForce) {
  QLineEdit height(QStringLiteral("abc")), zoom(QStringLiteral("150"));
  TPrintOptions options{800, 110};
  EXPECT_THROW(takeStoredPrintOptions(options, {&height, &zoom}), CommandError);
  EXPECT_EQ(options.PrintHeight, 800);
  EXPECT_EQ(options.PreviewZoom, 110);
  EXPECT_EQ(height.text(), QStringLiteral("800"));
  EXPECT_EQ(zoom.text(), QStringLiteral("110"));

  height.setText(QStringLiteral("900"));
  zoom.setText(QStringLiteral("12.5"));
  EXPECT_THROW(takeStoredPrintOptions(options, {&height, &zoom}), CommandError);
  EXPECT_EQ(options.PrintHeight, 900);
  EXPECT_EQ(height.text(), QStringLiteral("900"));
  EXPECT_EQ(zoom.text(), QStringLiteral("110"));
}

// A height of -100 from an edited settings file gave a report of one row per page.
TEST(StoredPrintOptions, ValuesOutOfRangeGiveWayToTheDefaults) {
  QLineEdit height(QStringLiteral("-100")), zoom(QStringLiteral("500"));
  TPrintOptions options{800, 110};
  takeStoredPrintOptions(options, {&height, &zoom});
  EXPECT_EQ(options.PrintHeight, 750);
  EXPECT_EQ(options.PreviewZoom, 120);
  EXPECT_EQ(height.text(), QStringLiteral("750"));
  EXPECT_EQ(zoom.text(), QStringLiteral("120"));
}

// The search time survives the next start; a stored text that is damaged or out of
// range gives way to the default without a word.
TEST(StoredSolverOptions, SearchTimeSurvivesAndDamageGivesTheDefault) {
  QTemporaryDir dir;
  QSettings settings(dir.filePath(QStringLiteral("user.conf")), QSettings::IniFormat);
  SettingsStore store(settings);
  saveSolverOptions({25}, store);
  TSolverOptions read;
  loadSolverOptions(read, store);
  EXPECT_EQ(read.ReallocationSeconds, 25);
  for (const char* damaged : {"abc", "0", "100000", "2.5"}) {
    SCOPED_TRACE(damaged);
    store.writeText(QStringLiteral("Solvers"), QStringLiteral("ReallocationSeconds"), QString::fromUtf8(damaged));
    TSolverOptions fresh;
    loadSolverOptions(fresh, store);
    EXPECT_EQ(fresh.ReallocationSeconds, kDefaultReallocationSeconds);
  }
}

}  // namespace
}  // namespace velko
