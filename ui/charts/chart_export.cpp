#include "ui/charts/chart_export.h"

#include "ui/charts/chart_calendar.h"

#include <algorithm>
#include <cmath>
#include <future>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include "model/command_error.h"
#include "ui/charts/crew_pictures.h"
#include "ui/charts/levelling_pictures.h"
#include "ui/charts/optimisation_log.h"
#include "ui/charts/chart_sheets.h"
#include "ui/charts/png_bands.h"

namespace velko {

namespace {

[[noreturn]] void refuseDrawing(const QString& path) {
  throw CommandError(QStringLiteral("Не удалось построить рисунок %1").arg(path).toStdString());
}

std::string bytesOf(const QByteArray& bytes) {
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// A picture too large for one page as landscape A4 sheets.
std::string sheetsBytes(const ChartPicture& picture, const QString& path, const SheetProgress& onSheet) {
  QByteArray bytes;
  QBuffer file(&bytes);
  file.open(QIODevice::WriteOnly);
  {
    QPdfWriter pdf(&file);
    pdf.setResolution(72);
    pdf.setPageLayout(sheetPageLayout());
    const QString name = QFileInfo(path).completeBaseName();
    pdf.setTitle(name);
    if (!paintSheets(picture, name, pdf, onSheet)) throw CommandError(QStringLiteral("Сохранение %1 прервано").arg(path).toStdString());
  }
  file.close();
  return bytesOf(bytes);
}

// The picture's file in memory, so that the one safe-write helper puts it on disk
// and a full disk is told as such.
std::string pictureBytes(const ChartPicture& picture, const QString& path, const SheetProgress& onSheet = {}) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  QByteArray bytes;
  QBuffer file(&bytes);
  file.open(QIODevice::WriteOnly);
  if (suffix == QLatin1String("png")) {
    try {
      writePngInBands(picture, pngScale(picture.size), file);
    } catch (const CommandError&) {
      refuseDrawing(path);
    }
  } else if (suffix == QLatin1String("svg")) {
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    svg.setSize(picture.size.toSize());
    svg.setViewBox(QRectF(QPointF(0, 0), picture.size));
    svg.setTitle(QFileInfo(path).completeBaseName());
    QPainter painter;
    if (!painter.begin(&svg)) refuseDrawing(path);
    picture.paint(painter);
    painter.end();
  } else if (suffix == QLatin1String("pdf") && needsSheets(picture)) {
    file.close();
    return sheetsBytes(picture, path, onSheet);
  } else if (suffix == QLatin1String("pdf")) {
    // One page the size of the picture, one picture unit per point.
    QPdfWriter pdf(&file);
    pdf.setResolution(72);
    pdf.setPageSize(QPageSize(picture.size, QPageSize::Point));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setTitle(QFileInfo(path).completeBaseName());
    QPainter painter;
    if (!painter.begin(&pdf)) refuseDrawing(path);
    picture.paint(painter);
    painter.end();
  } else {
    throw CommandError(
        QStringLiteral("Неизвестный формат рисунка «%1»: нужен PNG, SVG или PDF").arg(path).toStdString());
  }
  file.close();
  return bytesOf(bytes);
}

// Pages as one PDF document of landscape A4 sheets, each page shrunk to fit its sheet.
std::string pagesBytes(const std::vector<ChartPicture>& pages, const QString& path) {
  QByteArray bytes;
  QBuffer file(&bytes);
  file.open(QIODevice::WriteOnly);
  {
    QPdfWriter pdf(&file);
    pdf.setResolution(72);  // one picture unit per point before the fitting
    pdf.setPageLayout(sheetPageLayout());
    pdf.setTitle(QFileInfo(path).completeBaseName());
    QPainter painter;
    if (!painter.begin(&pdf)) refuseDrawing(path);
    const QSizeF area = pdf.pageLayout().paintRect(QPageLayout::Point).size();
    for (std::size_t k = 0; k < pages.size(); ++k) {
      if (k > 0 && !pdf.newPage()) refuseDrawing(path);
      const QSizeF size = pages[k].size;
      const double fit = std::min({1.0, area.width() / size.width(), area.height() / size.height()});
      painter.save();
      painter.scale(fit, fit);
      pages[k].paint(painter);
      painter.restore();
    }
    painter.end();
  }
  file.close();
  return bytesOf(bytes);
}

std::string fileName(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

QImage renderPicture(const ChartPicture& picture, double scale) {
  const QSize size = (picture.size * scale).toSize().expandedTo(QSize(1, 1));
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.scale(scale, scale);
  picture.paint(painter);
  return image;
}

double pngScale(const QSizeF& size) {
  const double naturalPixels = size.width() * size.height();
  return naturalPixels * 4 <= kMaxPngPixels ? 2.0 : std::sqrt(kMaxPngPixels / naturalPixels);
}

bool needsSheets(const ChartPicture& picture) {
  return std::max(picture.size.width(), picture.size.height()) > kMaxPdfPageUnits;
}

void savePicture(const ChartPicture& picture, const QString& path, const SheetProgress& onSheet) {
  SafeFileSet file;
  file.add(fileName(path), pictureBytes(picture, path, onSheet));
  file.commit();
}

void savePages(const std::vector<ChartPicture>& pages, const QString& path) {
  SafeFileSet file;
  file.add(fileName(path), pagesBytes(pages, path));
  file.commit();
}

void saveLogCsv(const std::vector<OptimisationMove>& moves, const QString& path) {
  SafeFileSet file;
  file.add(fileName(path), optimisationLogCsv(moves));
  file.commit();
}

std::string writeChartFiles(SafeFileSet& files, const std::string& dir, const TNetworkModel& model,
                            const std::vector<OptimisationMove>& moves, bool optimised, const LevellingResult* smoothing,
                            const CrewAnswer* crews, const TNetworkModel* reallocated) {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    throw CommandError("Для рисунков нужен запущенный QGuiApplication");
  }
  const int variant = optimised ? 2 : 1;
  checkVariant(model, variant);
  const QDir folder(QString::fromStdString(dir));
  if (!folder.mkpath(QStringLiteral("."))) {
    throw CommandError(QStringLiteral("Не удалось создать папку %1").arg(folder.path()).toStdString());
  }
  // The pictures are made here (the network's layout included) and encoded on two
  // threads: the large network alone, the rest beside it. The painting reads only what
  // the pictures hold. The files join the set afterwards, on this thread.
  struct Encoded {
    QString name;
    std::string bytes;
  };
  std::vector<std::pair<QString, ChartPicture>> pictures;
  pictures.emplace_back(QStringLiteral("bar_chart.png"), barChartPicture(model, variant));
  pictures.emplace_back(QStringLiteral("workers.png"),
                        smoothing ? levelledProfilePicture(model, *smoothing) : profilePicture(model));
  if (smoothing) {
    pictures.emplace_back(QStringLiteral("bar_chart_smoothed.png"), levelledBarChartPicture(model, *smoothing));
    pictures.emplace_back(QStringLiteral("workers_by_id.png"), idProfilesPicture(model, smoothing));
    const auto calendar = chartCalendar(model);
    pictures.emplace_back(QStringLiteral("shifts.png"), shiftsPicture(smoothing, calendar ? &*calendar : nullptr));
  }
  if (crews) {
    pictures.emplace_back(QStringLiteral("bar_chart_crews.png"), crewBarChartPicture(model, *crews));
    pictures.emplace_back(QStringLiteral("workers_by_crew.png"), crewProfilesPicture(*crews));
  }
  if (reallocated) {
    pictures.emplace_back(QStringLiteral("network_reallocated.png"), networkPicture(*reallocated, 1));
    pictures.emplace_back(QStringLiteral("bar_chart_reallocated.png"), barChartPicture(*reallocated, 1));
    pictures.emplace_back(QStringLiteral("workers_reallocated.png"), profilePicture(*reallocated));
  }
  const ChartPicture network = networkPicture(model, variant);
  const std::vector<ChartPicture> logPages = optimisationLogPages(moves, optimised);
  const QString logPdf = folder.filePath(QStringLiteral("optimisation_log.pdf"));
  // A picture the PNG shows below its natural size is saved as sheets too, to be read.
  const auto encode = [&](const QString& name, const ChartPicture& picture, std::vector<Encoded>& encoded) {
    const QString path = folder.filePath(name);
    encoded.push_back({path, pictureBytes(picture, path)});
    const double scale = pngScale(picture.size);
    if (scale >= 1) return std::string();
    const QString sheets = folder.filePath(QFileInfo(name).completeBaseName() + QStringLiteral(".pdf"));
    const int planned = planSheets(picture, sheetPageLayout().paintRect(QPageLayout::Point).size()).sheets();
    if (planned > kMaxBatchSheets) {
      return QStringLiteral("Рисунок %1 уменьшен до %2 %; по листам не записан: их было бы %3, больше %4 — "
                            "смотрите и сохраняйте его в окне «Графики»\n")
          .arg(name)
          .arg(qRound(scale * 100))
          .arg(planned)
          .arg(kMaxBatchSheets)
          .toStdString();
    }
    encoded.push_back({sheets, sheetsBytes(picture, sheets, {})});
    return QStringLiteral("Рисунок %1 уменьшен до %2 %; для чтения — по листам: %3 (листов: %4)\n")
        .arg(name)
        .arg(qRound(scale * 100))
        .arg(QFileInfo(sheets).fileName())
        .arg(planned)
        .toStdString();
  };
  std::future<std::pair<std::vector<Encoded>, std::string>> rest = std::async(std::launch::async, [&] {
    std::vector<Encoded> encoded;
    std::string lines;
    for (const auto& [name, picture] : pictures) lines += encode(name, picture, encoded);
    encoded.push_back({logPdf, pagesBytes(logPages, logPdf)});
    return std::make_pair(std::move(encoded), lines);
  });
  // Should this throw, the future's destructor still waits for the other thread.
  std::vector<Encoded> networkFiles;
  const std::string told = encode(QStringLiteral("network.png"), network, networkFiles);
  for (const Encoded& file : networkFiles) files.add(fileName(file.name), file.bytes);
  auto [encoded, lines] = rest.get();
  for (const Encoded& file : encoded) files.add(fileName(file.name), file.bytes);
  files.add(fileName(folder.filePath(QStringLiteral("optimisation_log.csv"))), optimisationLogCsv(moves));
  return lines + told;
}

std::string writeChartFiles(const std::string& dir, const TNetworkModel& model,
                            const std::vector<OptimisationMove>& moves, bool optimised,
                            const LevellingResult* smoothing, const CrewAnswer* crews) {
  SafeFileSet files;
  std::string told = writeChartFiles(files, dir, model, moves, optimised, smoothing, crews);
  files.commit();
  return told;
}

}  // namespace velko
