// The preview of the printed report at real sizes: the time from "Печать" to the first
// page painted in the window, and the counter then; with a file name, a picture of the
// window. Offscreen unless a display is set:
//   report_preview_probe [WORKS [PICTURE.png]]
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include <QApplication>
#include <QLabel>
#include <QPaintEvent>
#include <QTimer>

#include "bench/building_network.h"
#include "model/commands.h"
#include "ui/report/report_system.h"

namespace {

struct FirstPaint : QObject {
  std::chrono::steady_clock::time_point painted{};
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint && painted == std::chrono::steady_clock::time_point{}) {
      QTimer::singleShot(0, [this] { painted = std::chrono::steady_clock::now(); });
    }
    return false;
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("DISPLAY") == nullptr) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  QApplication app(argc, argv);
  const int works = argc > 1 ? std::atoi(argv[1]) : 100000;
  const QString picture = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
  const auto network = velko::bench::buildingNetwork(works, 4, 1);
  const velko::WorksTable table = velko::bench::worksTable(network);
  const velko::TableInput input(std::to_string(network.events), std::to_string(network.works.size()), table);
  velko::TNetworkModel model;
  velko::optimiseVariants(model, input);

  FirstPaint probe;
  const auto started = std::chrono::steady_clock::now();
  QTimer::singleShot(0, [&] {
    auto* preview = qobject_cast<velko::TReportPreview*>(QApplication::activeModalWidget());
    if (!preview) return;
    preview->preview()->viewport()->installEventFilter(&probe);
    auto* poll = new QTimer(preview);
    QObject::connect(poll, &QTimer::timeout, [&, preview, poll] {
      if (probe.painted == std::chrono::steady_clock::time_point{}) return;
      poll->stop();
      // Some time for the window to settle before the picture; the walk goes on meanwhile.
      QTimer::singleShot(500, [&, preview] {
        const auto* label = preview->findChild<QLabel*>(QStringLiteral("PageLabel"));
        std::printf("%d works: first page painted after %.0f ms, counter \"%s\"\n", works,
                    std::chrono::duration<double, std::milli>(probe.painted - started).count(),
                    label->text().trimmed().toUtf8().constData());
        if (!picture.isEmpty()) preview->grab().save(picture);
        preview->reject();
      });
    });
    poll->start(10);
  });
  velko::runPrintedReport(nullptr, model, velko::kReportPrintHeight, velko::kReportPreviewZoom);
  const double closed =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
  std::printf("closed after %.0f ms\n", closed);
  return 0;
}
