// The charts of the largest network the tables allow, after the optimisation's worst
// case (the 2,499-move ladder of worst_networks.h): the batch tool's export, and the
// window "Графики" made and shown on its first tab. Offscreen; reports times only.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <map>
#include <string>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTabWidget>
#include <QTemporaryDir>

#include "bench/building_network.h"
#include "bench/worst_networks.h"
#include "model/schedule_figures.h"
#include "model/commands.h"
#include "model/optimisation.h"
#include "ui/charts/chart_export.h"
#include "ui/charts/chart_pictures.h"
#include "ui/charts/network_layout.h"
#include "ui/charts/charts_form.h"

namespace {

struct Optimised {
  velko::TNetworkModel model;
  velko::OptimisationLogRecorder log;
  Optimised() = default;
  explicit Optimised(int workersPerWork) {
    const velko::WorksTable table = velko::bench::ladderNetwork(workersPerWork);
    const velko::TableInput input(std::to_string(velko::bench::kLadderEvents), std::to_string(table.rowCount()),
                                  table);
    velko::optimiseVariants(model, input, &log);
  }
};

// Argument: workers per work (1: 2,499 moves, 9: 543 moves).
void BM_WriteChartFiles(benchmark::State& state) {
  static Optimised* runs[10] = {};
  Optimised*& run = runs[state.range(0)];
  if (!run) run = new Optimised(static_cast<int>(state.range(0)));
  const QTemporaryDir dir;
  for (auto _ : state) velko::writeChartFiles(dir.path().toStdString(), run->model, run->log.moves, true);
  state.counters["moves"] = static_cast<double>(run->log.moves.size());
}
BENCHMARK(BM_WriteChartFiles)->Arg(1)->Arg(9)->Unit(benchmark::kMillisecond)->UseRealTime();

// From the window's creation to its first tab painted.
void BM_ChartsWindowFirstTab(benchmark::State& state) {
  static Optimised run(1);
  for (auto _ : state) {
    velko::TCharts_form form(nullptr);
    form.showRun({std::make_shared<const velko::TNetworkModel>(run.model), run.log.moves});
    form.resize(1100, 760);
    benchmark::DoNotOptimize(form.grab());
  }
}
BENCHMARK(BM_ChartsWindowFirstTab)->Unit(benchmark::kMillisecond)->UseRealTime();

// Building-shaped networks, optimised, one per size.
const Optimised& buildingRun(int works) {
  static std::map<int, Optimised*> runs;
  Optimised*& run = runs[works];
  if (!run) {
    run = new Optimised;
    const auto network = velko::bench::buildingNetwork(works, 4, 1);
    const velko::WorksTable table = velko::bench::worksTable(network);
    const velko::TableInput input(std::to_string(network.events), std::to_string(network.works.size()), table);
    velko::optimiseVariants(run->model, input, &run->log);
  }
  return *run;
}
const velko::TNetworkModel& building(int works) { return buildingRun(works).model; }

// A picture made and its first screenful (1100 x 700, scrolled to the middle) painted,
// as the window does on opening a tab; beside it the floor: the works' timings alone.
enum Kind { kBarChart, kProfile, kNetwork, kFloor };
void BM_PictureFirstView(benchmark::State& state) {
  const velko::TNetworkModel& model = building(static_cast<int>(state.range(1)));
  QImage view(1100, 700, QImage::Format_RGB32);
  for (auto _ : state) {
    if (state.range(0) == kFloor) {
      benchmark::DoNotOptimize(velko::workTimings(model, 2));
      continue;
    }
    const velko::ChartPicture picture = state.range(0) == kBarChart  ? velko::barChartPicture(model, 2)
                                        : state.range(0) == kProfile ? velko::profilePicture(model)
                                                                     : velko::networkPicture(model, 2);
    QPainter painter(&view);
    const QPointF middle(std::max(0.0, picture.size.width() / 2 - 550), std::max(0.0, picture.size.height() / 2 - 350));
    painter.translate(-middle);
    painter.setClipRect(QRectF(middle, QSizeF(1100, 700)));
    picture.paint(painter);
  }
}
BENCHMARK(BM_PictureFirstView)
    ->ArgsProduct({{kFloor, kBarChart, kProfile, kNetwork}, {100, 1000, 10000, 100000}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// One screenful of a picture already made, at a new place: a step of scrolling.
void BM_PictureScrollStep(benchmark::State& state) {
  const velko::TNetworkModel& model = building(static_cast<int>(state.range(1)));
  const velko::ChartPicture picture = state.range(0) == kBarChart  ? velko::barChartPicture(model, 2)
                                      : state.range(0) == kProfile ? velko::profilePicture(model)
                                                                   : velko::networkPicture(model, 2);
  QImage view(1100, 700, QImage::Format_RGB32);
  double step = 0;
  for (auto _ : state) {
    step = step > 0.9 ? 0 : step + 0.1;
    QPainter painter(&view);
    const QPointF at(std::max(0.0, picture.size.width() - 1100) * step, std::max(0.0, picture.size.height() - 700) * step);
    painter.translate(-at);
    painter.setClipRect(QRectF(at, QSizeF(1100, 700)));
    picture.paint(painter);
  }
  state.counters["width"] = picture.size.width();
  state.counters["height"] = picture.size.height();
}
BENCHMARK(BM_PictureScrollStep)
    ->ArgsProduct({{kBarChart, kProfile, kNetwork}, {100, 1000, 10000, 100000}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The window "Графики" handed a run while a tab is shown, to that tab painted: network,
// bar chart, profile, optimisation log.
void BM_ChartsWindowTab(benchmark::State& state) {
  const Optimised& optimised = buildingRun(static_cast<int>(state.range(1)));
  velko::TCharts_form form(nullptr);
  form.resize(1100, 760);
  const auto run = std::make_shared<const velko::TNetworkModel>(optimised.model);
  for (auto _ : state) {
    state.PauseTiming();
    form.showRun({});
    form.TabWidget1->setCurrentIndex(static_cast<int>(state.range(0)));
    state.ResumeTiming();
    form.showRun({run, optimised.log.moves});  // makes the tab shown only
    benchmark::DoNotOptimize(form.grab());
  }
}
BENCHMARK(BM_ChartsWindowTab)
    ->ArgsProduct({{0, 1, 2, 3}, {100, 1000, 10000, 100000}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The layered layout of the network alone, by events (0.6 per work): where the window
// stops using it.
void BM_LayeredLayout(benchmark::State& state) {
  const velko::TNetworkModel& model = building(static_cast<int>(state.range(0)));
  const std::vector<velko::WorkTiming> works = velko::workTimings(model, 2);
  for (auto _ : state) benchmark::DoNotOptimize(velko::layoutNetwork(model.RunEventCount, works));
  state.counters["events"] = model.RunEventCount;
}
BENCHMARK(BM_LayeredLayout)->Arg(100)->Arg(200)->Arg(350)->Arg(500)->Arg(700)->Unit(benchmark::kMillisecond);

// A picture saved as the batch tool saves it: PNG (capped) or A4 sheets.
void BM_SavePicture(benchmark::State& state) {
  const velko::TNetworkModel& model = building(static_cast<int>(state.range(1)));
  const bool network = state.range(0) >= 2;
  const velko::ChartPicture picture = network ? velko::networkPicture(model, 2) : velko::barChartPicture(model, 2);
  const QTemporaryDir dir;
  const QString path = dir.filePath(state.range(0) % 2 == 0 ? QStringLiteral("x.png") : QStringLiteral("x.pdf"));
  for (auto _ : state) {
    if (path.endsWith(QLatin1String(".pdf")) && !velko::needsSheets(picture)) {
      state.SkipWithError("fits one page");
      break;
    }
    velko::savePicture(picture, path);
  }
}
// 0: bar chart PNG, 1: bar chart sheets, 2: network PNG, 3: network sheets.
BENCHMARK(BM_SavePicture)
    ->ArgsProduct({{0, 1, 2, 3}, {1000, 10000, 100000}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
