// The charts of the largest network the tables allow, after the optimisation's worst
// case (the 2,499-move ladder of worst_networks.h): the batch tool's export, and the
// window "Графики" made and shown on its first tab. Offscreen; reports times only.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include <QApplication>
#include <QTemporaryDir>

#include "bench/worst_networks.h"
#include "model/commands.h"
#include "model/optimisation.h"
#include "ui/charts/chart_export.h"
#include "ui/charts/charts_form.h"

namespace {

struct Optimised {
  velko::TNetworkModel model;
  velko::OptimisationLogRecorder log;
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

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
