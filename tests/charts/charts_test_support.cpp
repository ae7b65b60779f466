#include "charts_test_support.h"

#include <cmath>

#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>

#include "data/data_file.h"
#include "data/works_table.h"
#include "model/commands.h"
#include "ui/charts/optimisation_log.h"
#include "ui/form_activation.h"

void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace velko::testing {

namespace {

Run run(int eventCount, const std::vector<Row>& rows, bool optimiseToo) {
  WorksTable table;
  int r = 0;
  for (const Row& row : rows) table.setRow(++r, {row.i, row.j, row.t, row.n, row.id});
  table.setRowCount(r);
  const TableInput input(std::to_string(eventCount), std::to_string(r), table);
  Run result;
  if (optimiseToo) {
    OptimisationLogRecorder recorder;
    optimiseVariants(*result.model, input, &recorder);
    result.moves = recorder.moves;
  } else {
    calculateVariants(*result.model, input);
  }
  return result;
}

}  // namespace

ChartsRun shown(const Run& run) { return {std::make_shared<const TNetworkModel>(*run.model), run.moves}; }

Run calculate(int eventCount, std::initializer_list<Row> rows) { return run(eventCount, rows, false); }
Run optimise(int eventCount, std::initializer_list<Row> rows) { return run(eventCount, rows, true); }
Run optimise(int eventCount, const std::vector<Row>& rows) { return run(eventCount, rows, true); }
Run calculate(int eventCount, const std::vector<Row>& rows) { return run(eventCount, rows, false); }

Run network20() {
  TNetworkModel scratch;
  WorksTable table;
  ReadDataFile(scratch, VELKO_EXAMPLES "/network20.dat", table);
  std::vector<Row> rows;
  for (int r = 1; r <= scratch.WorkCount; ++r) {
    const WorksTable::Row cells = table.row(r);
    rows.push_back({cells[0], cells[1], cells[2], cells[3], cells[4]});
  }
  return run(scratch.EventCount, rows, true);
}

std::vector<Row> fiftyEventRows() {
  std::vector<Row> rows;
  const auto add = [&](int i, int j) {
    rows.push_back({std::to_string(i), std::to_string(j), std::to_string(1 + (i * 7) % 9),
                    std::to_string(1 + i % 5), std::to_string(1 + i % 4)});
  };
  for (int k = 1; k < 50; ++k) add(k, k + 1);
  for (int k = 1; k < 49; ++k) add(k, k + 2);
  for (int k : {1, 20, 40}) add(k, k + 5);
  return rows;
}

bool isRed(QColor c) { return c.red() > 150 && c.green() < 90 && c.blue() < 90; }

int countPixels(const QImage& image, const std::function<bool(QColor)>& test) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) count += test(image.pixelColor(x, y)) ? 1 : 0;
  }
  return count;
}

bool notBlank(const QImage& image) {
  const int ink = countPixels(image, [](QColor c) { return c != QColor(Qt::white); });
  return ink * 100 > image.width() * image.height();
}

bool near(const QImage& image, double x, double y, int radius, const std::function<bool(QColor)>& test) {
  const int cx = static_cast<int>(std::lround(x));
  const int cy = static_cast<int>(std::lround(y));
  for (int dy = -radius; dy <= radius; ++dy) {
    for (int dx = -radius; dx <= radius; ++dx) {
      if (image.valid(cx + dx, cy + dy) && test(image.pixelColor(cx + dx, cy + dy))) return true;
    }
  }
  return false;
}

void showFormFrom(QWidget& elsewhere, QWidget& form) {
  elsewhere.show();
  elsewhere.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
  form.resize(1000, 700);
  showFormActive(&form);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
}

}  // namespace velko::testing
