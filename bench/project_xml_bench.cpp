// Project XML of 5,000 tasks (each linked to up to three of the thirty before it, with
// every link type and lags, leads included; ten trades): reading and converting it into
// the network and the table, against writing the computed network out again.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "exchange/mspdi_reader.h"
#include "exchange/mspdi_writer.h"
#include "exchange/network_from_project.h"
#include "exchange/network_install.h"
#include "model/time_parameters.h"

namespace {

std::string generatedProject(int tasks) {
  std::uint32_t seed = 12345;
  auto next = [&seed](std::uint32_t below) {
    seed = seed * 1664525u + 1013904223u;
    return (seed >> 8) % below;
  };
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Project xmlns=\"http://schemas.microsoft.com/project\">"
      "<StartDate>2026-03-02T08:00:00</StartDate><MinutesPerDay>480</MinutesPerDay><Tasks>\n";
  for (int k = 1; k <= tasks; ++k) {
    xml += "<Task><UID>" + std::to_string(k) + "</UID><Name>Работа " + std::to_string(k) + "</Name><Duration>PT" +
           std::to_string(8 * (1 + next(10))) + "H0M0S</Duration>";
    const int links = k == 1 ? 0 : 1 + static_cast<int>(next(3));
    for (int l = 0; l < links; ++l) {
      const int pred = std::max(1, k - 1 - static_cast<int>(next(30)));
      xml += "<PredecessorLink><PredecessorUID>" + std::to_string(pred) + "</PredecessorUID><Type>" +
             std::to_string(next(4)) + "</Type><LinkLag>" + std::to_string(4800 * (static_cast<int>(next(5)) - 1)) +
             "</LinkLag><LagFormat>7</LagFormat></PredecessorLink>";
    }
    xml += "</Task>\n";
  }
  xml += "</Tasks><Resources>";
  for (int r = 1; r <= 10; ++r)
    xml += "<Resource><UID>" + std::to_string(r) + "</UID><Name>Профессия " + std::to_string(r) +
           "</Name><Type>1</Type><MaxUnits>20</MaxUnits></Resource>";
  xml += "</Resources><Assignments>";
  for (int k = 1; k <= tasks; ++k)
    xml += "<Assignment><TaskUID>" + std::to_string(k) + "</TaskUID><ResourceUID>" + std::to_string(1 + next(10)) +
           "</ResourceUID><Units>" + std::to_string(1 + next(8)) + "</Units></Assignment>";
  return xml + "</Assignments></Project>\n";
}

void importProjectXml(benchmark::State& state) {
  const std::string xml = generatedProject(static_cast<int>(state.range(0)));
  velko::TNetworkModel model;
  for (auto _ : state) {
    velko::WorksTable table;
    const velko::ImportedNetwork network = velko::networkFromProject(velko::parseProjectXml(xml, "b.xml"), "b.xml");
    velko::installNetwork(network, model, table);
    state.counters["works"] = static_cast<double>(network.works.size());
  }
  state.counters["MiB"] = static_cast<double>(xml.size()) / (1 << 20);
}

void exportProjectXml(benchmark::State& state) {
  const std::string xml = generatedProject(static_cast<int>(state.range(0)));
  velko::TNetworkModel model;
  velko::WorksTable table;
  velko::installNetwork(velko::networkFromProject(velko::parseProjectXml(xml, "b.xml"), "b.xml"), model, table);
  velko::ClearComputed(model);
  velko::ComputeTimeParameters(model);
  // The export must read back as the same schedule, or its time says nothing.
  velko::TNetworkModel again;
  velko::installNetwork(
      velko::networkFromProject(velko::parseProjectXml(velko::projectXmlText(model, model.Extras, "b"), "c.xml"), "c.xml"),
      again, table);
  velko::ClearComputed(again);
  velko::ComputeTimeParameters(again);
  if (static_cast<double>(again.CritPathLength) != static_cast<double>(model.CritPathLength))
    state.SkipWithError("the export reads back as another schedule");
  for (auto _ : state) benchmark::DoNotOptimize(velko::projectXmlText(model, model.Extras, "b"));
}

}  // namespace

BENCHMARK(importProjectXml)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(exportProjectXml)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
