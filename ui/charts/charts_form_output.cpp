// The window's outputs: a picture or the log saved to a file, a picture printed on
// sheets, and an event or a work found in the picture shown.
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>

#include "model/command_error.h"
#include "ui/background_command.h"
#include "ui/charts/chart_canvas.h"
#include "ui/charts/chart_export.h"
#include "ui/charts/chart_sheets.h"
#include "ui/charts/charts_form.h"
#include "ui/charts/optimisation_log.h"
#include "ui/command_guard.h"

namespace velko {

namespace {

SheetProgress sheetProgress(BackgroundProgress& progress) {
  return [&progress](int done, int total) {
    progress.total = total;
    progress.done = done;
    return !progress.cancel;
  };
}

}  // namespace

void TCharts_form::Button1Click() {
  static const QStringList names = {QStringLiteral("network"), QStringLiteral("bar_chart"), QStringLiteral("workers"),
                                    QStringLiteral("optimisation_log"), QStringLiteral("shifts")};
  const int tab = TabWidget1->currentIndex();
  const QString png = QStringLiteral("Рисунок PNG (*.png)");
  const QString svg = QStringLiteral("Рисунок SVG (*.svg)");
  const QString pdf = QStringLiteral("Документ PDF (*.pdf)");
  const QString csv = QStringLiteral("Таблица CSV (*.csv)");
  // The log runs to many pages: a document of pages or the table, not one picture.
  const bool log = tab == kLogTab;
  QString filter = log ? pdf : png;
  const QString filters = log ? pdf + QStringLiteral(";;") + csv
                              : png + QStringLiteral(";;") + svg + QStringLiteral(";;") + pdf;
  QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Сохранить рисунок"),
                                              names.value(tab) + (log ? QStringLiteral(".pdf") : QStringLiteral(".png")),
                                              filters, &filter);
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) {
    path += filter == svg ? QStringLiteral(".svg")
            : filter == pdf ? QStringLiteral(".pdf")
            : filter == csv ? QStringLiteral(".csv")
                            : QStringLiteral(".png");
  }
  const ChartPicture picture = log ? ChartPicture() : currentPicture();
  runCommand(this, [&] {
    // Thousands of sheets take a while: off this thread, with progress and a cancel that
    // leaves no file behind.
    runInBackground(this, QStringLiteral("Сохранение рисунка"), [&](BackgroundProgress& progress) {
      if (log) {
        saveLog(path);
      } else {
        savePicture(picture, path, sheetProgress(progress));
      }
    });
  });
}

void TCharts_form::saveLog(const QString& path) const {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("csv")) {
    saveLogCsv(run_.log, path);
  } else if (suffix == QLatin1String("pdf")) {
    savePages(optimisationLogPages(run_.log, model().Optimised == 1), path);
  } else {
    throw CommandError(
        QStringLiteral("Неизвестный формат журнала «%1»: нужен PDF или CSV").arg(path).toStdString());
  }
}


void TCharts_form::Button5Click() {
  ChartCanvas* canvas = currentCanvas();
  const ChartPicture picture = canvas ? canvas->picture() : currentPicture();
  static const QStringList names = {QStringLiteral("Сетевой график"), QStringLiteral("Линейный график"),
                                    QStringLiteral("Движение рабочих"), QStringLiteral("Журнал оптимизации"),
                                    QStringLiteral("Сдвиги работ")};
  const QString name = names.value(TabWidget1->currentIndex());
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10),
                                    QPageLayout::Millimeter));
  QPrintDialog setup(&printer, this);
  setup.setObjectName(QStringLiteral("PictureSetup"));
  setup.setWindowTitle(QStringLiteral("Печать рисунка"));
  const int sheets = planSheets(picture, printer.pageLayout().paintRect(QPageLayout::Point).size()).sheets();
  setup.setMinMax(1, sheets);
  if (setup.exec() != QDialog::Accepted) return;
  const bool range = printer.printRange() == QPrinter::PageRange;
  runCommand(this, [&] {
    runInBackground(this, QStringLiteral("Печать рисунка"), [&](BackgroundProgress& progress) {
      const SheetProgress shown = sheetProgress(progress);
      const bool printed = paintSheets(
          picture, name, printer,
          [&](int done, int total) {
            // Nothing goes to the printer, and a file printed to is not left half-written.
            if (shown(done, total)) return true;
            printer.abort();
            return false;
          },
          range ? printer.fromPage() : 1, range ? printer.toPage() : 0);
      if (!printed && printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        QFile::remove(printer.outputFileName());
      }
    });
  });
}

void TCharts_form::FindEditReturn() {
  ChartCanvas* canvas = currentCanvas();
  if (!canvas) return;
  // "12" is an event, "12-15" (or "12 15") a work.
  static const QRegularExpression form(QStringLiteral("^\\s*(\\d+)\\s*(?:[-–\\s]\\s*(\\d+))?\\s*$"));
  const QRegularExpressionMatch match = form.match(FindEdit->text());
  const int I = match.hasMatch() ? match.captured(1).toInt() : 0;
  const int J = match.hasMatch() && match.hasCaptured(2) ? match.captured(2).toInt() : 0;
  if (I > 0 && canvas->showFound(I, J)) return;
  runCommand(this, [&] {
    if (I <= 0) throw CommandError("Введите номер события (12) или работу (12-15)");
    throw CommandError((J == 0 ? QStringLiteral("Событие %1 на рисунке не найдено").arg(I)
                               : QStringLiteral("Работа %1-%2 на рисунке не найдена").arg(I).arg(J))
                           .toStdString());
  });
}

}  // namespace velko
