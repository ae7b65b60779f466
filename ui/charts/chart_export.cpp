#include "ui/charts/chart_export.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include "model/command_error.h"
#include "ui/charts/levelling_pictures.h"
#include "ui/charts/optimisation_log.h"

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

void savePicture(const ChartPicture& picture, const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix != QLatin1String("png") && suffix != QLatin1String("svg") && suffix != QLatin1String("pdf")) {
    throw CommandError(
        QStringLiteral("Неизвестный формат рисунка «%1»: нужен PNG, SVG или PDF").arg(path).toStdString());
  }
  QSaveFile file(path);
  openFor(file, path);
  if (suffix == QLatin1String("png")) {
    if (!renderPicture(picture, 2.0).save(&file, "PNG")) refuseWrite(path, file.errorString());
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

void writeChartFiles(const std::string& dir, const TNetworkModel& model, const std::vector<OptimisationMove>& moves,
                     bool optimised, const LevellingResult* smoothing) {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    throw CommandError("Для рисунков нужен запущенный QGuiApplication");
  }
  const int variant = optimised ? 2 : 1;
  checkVariant(model, variant);
  const QDir folder(QString::fromStdString(dir));
  if (!folder.mkpath(QStringLiteral("."))) {
    throw CommandError(QStringLiteral("Не удалось создать папку %1").arg(folder.path()).toStdString());
  }
  savePicture(networkPicture(model, variant), folder.filePath(QStringLiteral("network.png")));
  savePicture(barChartPicture(model, variant), folder.filePath(QStringLiteral("bar_chart.png")));
  savePicture(smoothing ? levelledProfilePicture(model, *smoothing) : profilePicture(model),
              folder.filePath(QStringLiteral("workers.png")));
  if (smoothing) {
    savePicture(levelledBarChartPicture(model, *smoothing), folder.filePath(QStringLiteral("bar_chart_smoothed.png")));
    savePicture(idProfilesPicture(model, smoothing), folder.filePath(QStringLiteral("workers_by_id.png")));
    savePicture(shiftsPicture(smoothing), folder.filePath(QStringLiteral("shifts.png")));
  }
  savePicture(optimisationLogPicture(moves, optimised), folder.filePath(QStringLiteral("optimisation_log.png")));
  const QString csvPath = folder.filePath(QStringLiteral("optimisation_log.csv"));
  QSaveFile csv(csvPath);
  openFor(csv, csvPath);
  const std::string bytes = optimisationLogCsv(moves);
  if (csv.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())) {
    refuseWrite(csvPath, csv.errorString());
  }
  commit(csv, csvPath);
}

}  // namespace velko
