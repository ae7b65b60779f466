// The printed report of optimised building-shaped networks of 100 to 100,000 works, in
// process, offscreen. Side by side: the first page as the preview now shows it (laid out
// from where it begins) against the preview before (every page laid out and kept before
// the window opened, up to 10,000 works: beyond, it takes gigabytes); and the whole PDF
// painted page by page into a file. The pages counter against the time shows the growth
// per page; the peak memory of whole processes is in bench/report_scale.sh.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>

#include <QGuiApplication>

#include "bench/building_network.h"
#include "model/commands.h"
#include "model/network_model.h"
#include "ui/report/report_pages_qt.h"

namespace {

const velko::TNetworkModel& optimised(int works) {
  static std::map<int, std::unique_ptr<velko::TNetworkModel>> models;
  auto& model = models[works];
  if (!model) {
    const auto network = velko::bench::buildingNetwork(works, 4, 1);
    const velko::WorksTable table = velko::bench::worksTable(network);
    const velko::TableInput input(std::to_string(network.events), std::to_string(network.works.size()), table);
    model = std::make_unique<velko::TNetworkModel>();
    velko::optimiseVariants(*model, input);
  }
  return *model;
}

void BM_ReportFirstPage(benchmark::State& state) {
  const velko::TReportJob job = velko::screenReportJob(optimised(static_cast<int>(state.range(0))), 750);
  for (auto _ : state) {
    const velko::TOwnTextMeasure measure(job.dotsPerInch);
    benchmark::DoNotOptimize(velko::layOutReportPage(job, measure, velko::TReportResume{}));
  }
}
BENCHMARK(BM_ReportFirstPage)->Arg(100)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ReportEveryPageKept(benchmark::State& state) {
  const velko::TNetworkModel& model = optimised(static_cast<int>(state.range(0)));
  std::size_t pages = 0;
  for (auto _ : state) pages = velko::layOutReportForScreen(model, 750).pages.size();
  state.counters["pages"] = static_cast<double>(pages);
}
BENCHMARK(BM_ReportEveryPageKept)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ReportWholePdf(benchmark::State& state) {
  const velko::TReportJob job = velko::screenReportJob(optimised(static_cast<int>(state.range(0))), 750);
  const std::string path = (std::filesystem::temp_directory_path() / "velko-report-bench.pdf").string();
  int pages = 0;
  for (auto _ : state) pages = velko::writeReportPdf(job, path);
  state.counters["pages"] = pages;
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
  std::filesystem::remove(path);
}
BENCHMARK(BM_ReportWholePdf)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReportWholePdf)->Arg(10000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  int qtArgc = 1;
  char name[] = "report_bench";
  char* qtArgv[] = {name, nullptr};
  QGuiApplication app(qtArgc, qtArgv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
