#pragma once

#include <functional>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include <QColor>
#include <QImage>
#include <QString>

class QWidget;

#include "model/network_model.h"
#include "model/optimisation.h"
#include "ui/late_windows.h"

void PrintTo(const QString& text, std::ostream* out);

namespace velko::testing {

// One row of the works table as the user types it: I, J, t, n, Id.
struct Row {
  std::string i, j, t, n, id;
};

// A model filled by the Calculate or the Optimise command from the given rows.
struct Run {
  std::unique_ptr<TNetworkModel> model = std::make_unique<TNetworkModel>();
  std::vector<OptimisationMove> moves;
};
// The run as the main window hands it to "Графики": a copy of the model, and the log.
ChartsRun shown(const Run& run);
Run calculate(int eventCount, std::initializer_list<Row> rows);
Run optimise(int eventCount, std::initializer_list<Row> rows);
Run optimise(int eventCount, const std::vector<Row>& rows);
Run calculate(int eventCount, const std::vector<Row>& rows);
// The data file examples/network20.dat after Optimise.
Run network20();

// (1,2) t0 n1 Id1; (2,3) t6 n2 Id7; (1,3) t2 n6 Id7: Optimise moves four workers from
// (1,3) to (2,3), which makes (1,3) the critical work.
inline const std::initializer_list<Row> kThreeEvents = {
    {"1", "2", "0", "1", "1"}, {"2", "3", "6", "2", "7"}, {"1", "3", "2", "6", "7"}};

// 50 events and 100 works: a chain with jumps over one and over five events.
std::vector<Row> fiftyEventRows();

// Shows the charts window 1000 x 700 as the active form, coming from `elsewhere`.
void showFormFrom(QWidget& elsewhere, QWidget& form);

// Pixel checks of rendered pictures.
bool isRed(QColor colour);
int countPixels(const QImage& image, const std::function<bool(QColor)>& test);
bool notBlank(const QImage& image);  // more than 1 % of the pixels not white
// Whether any pixel within `radius` of (x, y) passes `test`.
bool near(const QImage& image, double x, double y, int radius, const std::function<bool(QColor)>& test);

}  // namespace velko::testing
