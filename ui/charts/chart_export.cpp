#include "ui/charts/chart_export.h"

#include <algorithm>
#include <cmath>
#include <future>

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include "model/command_error.h"
#include "ui/charts/optimisation_log.h"
#include "ui/charts/png_bands.h"

namespace velko {

namespace {

[[noreturn]] void refuseWrite(const QString& path, const QString& reason) {
  throw CommandError(QStringLiteral("Не удалось записать файл %1: %2").arg(path, reason).toStdString());
}

void commit(QSaveFile& file, const QString& path) {
  if (!file.commit()) refuseWrite(path, file.errorString());
}

void openFor(QSaveFile& file, const QString& path) {
  if (!file.open(QIODevice::WriteOnly)) refuseWrite(path, file.errorString());
}

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

void savePicture(const ChartPicture& picture, const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix != QLatin1String("png") && suffix != QLatin1String("svg") && suffix != QLatin1String("pdf")) {
    throw CommandError(
        QStringLiteral("Неизвестный формат рисунка «%1»: нужен PNG, SVG или PDF").arg(path).toStdString());
  }
  QSaveFile file(path);
  openFor(file, path);
  if (suffix == QLatin1String("png")) {
    try {
      writePngInBands(picture, pngScale(picture.size), file);
    } catch (const CommandError& error) {
      refuseWrite(path, QString::fromStdString(error.what()));
    }
  } else if (suffix == QLatin1String("svg")) {
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    svg.setSize(picture.size.toSize());
    svg.setViewBox(QRectF(QPointF(0, 0), picture.size));
    svg.setTitle(QFileInfo(path).completeBaseName());
    QPainter painter;
    if (!painter.begin(&svg)) refuseWrite(path, file.errorString());
    picture.paint(painter);
    painter.end();
  } else {
    // One page the size of the picture, one picture unit per point.
    QPdfWriter pdf(&file);
    pdf.setResolution(72);
    pdf.setPageSize(QPageSize(picture.size, QPageSize::Point));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setTitle(QFileInfo(path).completeBaseName());
    QPainter painter;
    if (!painter.begin(&pdf)) refuseWrite(path, file.errorString());
    picture.paint(painter);
    painter.end();
  }
  commit(file, path);
}

void savePages(const std::vector<ChartPicture>& pages, const QString& path) {
  QSaveFile file(path);
  openFor(file, path);
  QPdfWriter pdf(&file);
  pdf.setResolution(72);  // one picture unit per point before the fitting
  pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(28, 28, 28, 28),
                                QPageLayout::Point));
  pdf.setTitle(QFileInfo(path).completeBaseName());
  QPainter painter;
  if (!painter.begin(&pdf)) refuseWrite(path, file.errorString());
  const QSizeF area = pdf.pageLayout().paintRect(QPageLayout::Point).size();
  for (std::size_t k = 0; k < pages.size(); ++k) {
    if (k > 0 && !pdf.newPage()) refuseWrite(path, file.errorString());
    const QSizeF size = pages[k].size;
    const double fit = std::min({1.0, area.width() / size.width(), area.height() / size.height()});
    painter.save();
    painter.scale(fit, fit);
    pages[k].paint(painter);
    painter.restore();
  }
  painter.end();
  commit(file, path);
}

void saveLogCsv(const std::vector<OptimisationMove>& moves, const QString& path) {
  QSaveFile csv(path);
  openFor(csv, path);
  const std::string bytes = optimisationLogCsv(moves);
  if (csv.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())) {
    refuseWrite(path, csv.errorString());
  }
  commit(csv, path);
}

void writeChartFiles(const std::string& dir, const TNetworkModel& model, const std::vector<OptimisationMove>& moves,
                     bool optimised) {
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
  // the pictures hold.
  const ChartPicture network = networkPicture(model, variant);
  const ChartPicture bars = barChartPicture(model, variant);
  const ChartPicture workers = profilePicture(model);
  const std::vector<ChartPicture> logPages = optimisationLogPages(moves, optimised);
  std::future<void> rest = std::async(std::launch::async, [&] {
    savePicture(bars, folder.filePath(QStringLiteral("bar_chart.png")));
    savePicture(workers, folder.filePath(QStringLiteral("workers.png")));
    savePages(logPages, folder.filePath(QStringLiteral("optimisation_log.pdf")));
  });
  // Should this throw, the future's destructor still waits for the other thread.
  savePicture(network, folder.filePath(QStringLiteral("network.png")));
  saveLogCsv(moves, folder.filePath(QStringLiteral("optimisation_log.csv")));
  rest.get();
}

}  // namespace velko
