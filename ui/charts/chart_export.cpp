#include "ui/charts/chart_export.h"

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
#include "ui/charts/levelling_pictures.h"
#include "ui/charts/optimisation_log.h"

namespace velko {

namespace {

[[noreturn]] void refuseDrawing(const QString& path) {
  throw CommandError(QStringLiteral("Не удалось построить рисунок %1").arg(path).toStdString());
}

// The picture's file in memory, so that the one safe-write helper puts it on disk
// and a full disk is told as such.
std::string pictureBytes(const ChartPicture& picture, const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  QByteArray bytes;
  QBuffer file(&bytes);
  file.open(QIODevice::WriteOnly);
  if (suffix == QLatin1String("png")) {
    if (!renderPicture(picture, 2.0).save(&file, "PNG")) refuseDrawing(path);
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
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
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

void savePicture(const ChartPicture& picture, const QString& path) {
  SafeFileSet file;
  file.add(QFile::encodeName(path).toStdString(), pictureBytes(picture, path));
  file.commit();
}

void writeChartFiles(SafeFileSet& files, const std::string& dir, const TNetworkModel& model,
                     const std::vector<OptimisationMove>& moves, bool optimised, const LevellingResult* smoothing) {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    throw CommandError("Для рисунков нужен запущенный QGuiApplication");
  }
  const int variant = optimised ? 2 : 1;
  checkVariant(model, variant);
  const QDir folder(QString::fromStdString(dir));
  if (!folder.mkpath(QStringLiteral("."))) {
    throw CommandError(QStringLiteral("Не удалось создать папку %1").arg(folder.path()).toStdString());
  }
  const auto add = [&files, &folder](const ChartPicture& picture, const char* name) {
    const QString path = folder.filePath(QString::fromLatin1(name));
    files.add(QFile::encodeName(path).toStdString(), pictureBytes(picture, path));
  };
  add(networkPicture(model, variant), "network.png");
  add(barChartPicture(model, variant), "bar_chart.png");
  add(smoothing ? levelledProfilePicture(model, *smoothing) : profilePicture(model), "workers.png");
  if (smoothing) {
    add(levelledBarChartPicture(model, *smoothing), "bar_chart_smoothed.png");
    add(idProfilesPicture(model, smoothing), "workers_by_id.png");
    add(shiftsPicture(smoothing), "shifts.png");
  }
  add(optimisationLogPicture(moves, optimised), "optimisation_log.png");
  files.add(QFile::encodeName(folder.filePath(QStringLiteral("optimisation_log.csv"))).toStdString(),
            optimisationLogCsv(moves));
}

void writeChartFiles(const std::string& dir, const TNetworkModel& model, const std::vector<OptimisationMove>& moves,
                     bool optimised, const LevellingResult* smoothing) {
  SafeFileSet files;
  writeChartFiles(files, dir, model, moves, optimised, smoothing);
  files.commit();
}

}  // namespace velko
