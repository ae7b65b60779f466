// The Qt side of the printed report: metrics of real fonts, the page break at 96 dots
// per inch, the PDF read back as text, the batch tool's --report, and the preview.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QScrollBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>

#include "data/data_file.h"
#include "filled_model.h"
#include "data/works_table.h"
#include "model/command_error.h"
#include "model/commands.h"
#include "model/number_text.h"
#include "report/page_surface.h"
#include "report/print_report.h"
#include "ui/report/report_pages_qt.h"
#include "ui/background_command.h"
#include "ui/icons.h"
#include "ui/report/report_system.h"

namespace velko {
namespace {

struct TempDir {
  std::filesystem::path path;
  TempDir() {
    std::string p = (std::filesystem::temp_directory_path() / "velko-report-XXXXXX").string();
    if (!mkdtemp(p.data())) throw std::runtime_error("mkdtemp");
    path = p;
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
  std::string file(const std::string& name) const { return (path / name).string(); }
};

std::string runCommand(const std::string& command, int* exitCode = nullptr) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return out;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  const int status = pclose(pipe);
  if (exitCode) *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return out;
}

// The text of each page of a PDF, as pdftotext reads it.
std::vector<std::string> pdfPages(const std::string& pdf) {
  const std::string text = runCommand("pdftotext -layout '" + pdf + "' - 2>/dev/null");
  std::vector<std::string> pages;
  std::stringstream in(text);
  std::string page;
  while (std::getline(in, page, '\f')) pages.push_back(page);
  if (!pages.empty() && pages.back().find_first_not_of(" \n") == std::string::npos) pages.pop_back();
  return pages;
}

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

void computeDataFile(TNetworkModel& model, const std::string& name, bool optimise) {
  WorksTable table;
  ReadDataFile(model, std::string(VELKO_TEST_DATA "/") + name, table);
  table.setRowCount(model.WorkCount);
  const TableInput input(std::to_string(model.EventCount), std::to_string(model.WorkCount), table);
  if (optimise) optimiseVariants(model, input);
  else calculateVariants(model, input);
}

// A run filled by hand, optimised, of `works` works over works / 2 events, with a
// critical path of every event.
void fillModel(TNetworkModel& model, int works) { testing::fillModel(model, works, works / 2, works / 2 - 1, 5.25); }

int pdfPageCount(const std::string& pdf) {
  const std::string info = runCommand("pdfinfo '" + pdf + "' 2>/dev/null");
  const std::size_t at = info.find("Pages:");
  return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
}

std::vector<std::string> filesIn(const std::filesystem::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

QImage screenDevice() {
  QImage image(1, 1, QImage::Format_RGB32);
  image.setDotsPerMeterX(qRound(96 / 0.0254));
  image.setDotsPerMeterY(qRound(96 / 0.0254));
  return image;
}

TEST(ReportQtSurface, LinesAndTextFollowTheFontsOfTheDevice) {
  const QImage device = screenDevice();
  const TQtTextMeasure measure(&device);
  TPageSurface page(measure, 210, 297, 96);
  const std::pair<double, double> sizes[] = {{5, 2.1167}, {8, 3.3867}, {9, 3.81}, {11, 4.6567}, {12, 5.08}};
  for (const auto& [points, height] : sizes) {
    page.UseFont(kReportFace, points);
    const double descent = measure.descent(page.font());
    EXPECT_GT(descent, 0.1 * height) << points;
    EXPECT_LT(descent, 0.5 * height) << points;
    const double before = page.GetYPos();
    page.NextLine();
    EXPECT_NEAR(page.GetYPos() - before, height, 5e-5);
  }
  // Trailing blanks take room, so the page label stands 14 blanks off the right edge.
  TFontSpec eight{kReportFace, 8};
  EXPECT_GT(measure.textWidth(eight, "Страница №1" + std::string(14, ' ')),
            measure.textWidth(eight, "Страница №1") + 14 * 0.5);
  TFontSpec bold{kReportFace, 11, true};
  EXPECT_GT(measure.textWidth(bold, "ИСХОДНЫЕ ДАННЫЕ"), measure.textWidth({kReportFace, 11}, "ИСХОДНЫЕ ДАННЫЕ"));
  // 96 dots per inch: 750 dots are 198.4375 mm.
  page.MoveToY(198.4375);
  EXPECT_EQ(page.GetDeviceY(), 750);
}

TEST(ReportQtSurface, DefaultHeightBreaksThePageNear198Millimetres) {
  TNetworkModel model;
  computeDataFile(model, "network20.dat", false);
  const TReportPages pages = layOutReportForScreen(model, 750);
  ASSERT_EQ(pages.dotsPerInch, 96);
  ASSERT_GE(pages.pages.size(), 2u);
  double lowest = 0;
  for (const TPageItem& item : pages.pages[0].items) {
    if (const auto* t = std::get_if<TPageText>(&item)) lowest = std::max(lowest, t->baseline);
  }
  // The last row stands above the limit, and the next one would have passed it.
  EXPECT_LE(lowest, 198.4375 + 25.4 / 96 / 2);
  EXPECT_GT(lowest + lineHeightMm(9), 198.4375);
}

TEST(ReportPdf, PagesCarryTheirLabelsTitlesAndContinuations) {
  TNetworkModel model;
  computeDataFile(model, "network20.dat", true);
  TempDir dir;
  const std::string pdf = dir.file("report.pdf");
  writeReportPdf(layOutReportForScreen(model, 750), pdf);
  const auto pages = pdfPages(pdf);
  ASSERT_EQ(pages.size(), 6u);
  for (std::size_t p = 0; p < pages.size(); ++p) {
    EXPECT_TRUE(contains(pages[p], "Страница №" + std::to_string(p + 1))) << pages[p];
  }
  EXPECT_TRUE(contains(pages[0], "ИСХОДНЫЕ ДАННЫЕ"));
  EXPECT_TRUE(contains(pages[0], "ПОРЯД-"));
  EXPECT_TRUE(contains(pages[0], "РАННИЕ И ПОЗДНИЕ СРОКИ НАСТУПЛЕНИЯ СОБЫТИЙ"));
  EXPECT_TRUE(contains(pages[1], "Продолжение таблицы № 2"));
  EXPECT_TRUE(contains(pages[1], "КРИТИЧЕСКИЙ ПУТЬ"));
  EXPECT_TRUE(contains(pages[1], "Длинна критического пути : " + reportRealText(model.LengthBefore)));
  EXPECT_TRUE(contains(pages[2], "Продолжение таблицы № 4"));
  EXPECT_FALSE(contains(pages[2], "Данные расчета после оптимизации"));
  EXPECT_TRUE(contains(pages[3], "Данные расчета после оптимизации"));
  EXPECT_TRUE(contains(pages[3], "ИСХОДНЫЕ ДАННЫЕ"));
  EXPECT_TRUE(contains(pages[4], "Длинна критического пути : " + reportRealText(model.LengthAfter)));
  EXPECT_TRUE(contains(pages[1] + pages[2], "3 (1-4)"));  // floats name the work and its events
}

TEST(ReportPdf, AFailedWriteLeavesTheEarlierFile) {
  TNetworkModel model;
  TempDir dir;
  const std::string pdf = dir.file("missing/report.pdf");
  EXPECT_THROW(writeReportPdf(layOutReportForScreen(model, 750), pdf), CommandError);

  const std::string kept = dir.file("kept.pdf");
  std::ofstream(kept) << "old";
  std::filesystem::permissions(dir.path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  if (::access(dir.path.c_str(), W_OK) != 0) {  // root writes anyway
    EXPECT_THROW(writeReportPdf(layOutReportForScreen(model, 750), kept), CommandError);
  }
  std::filesystem::permissions(dir.path, std::filesystem::perms::owner_all);
  std::ifstream in(kept);
  std::string text;
  in >> text;
  EXPECT_EQ(text, "old");
}

// The PDF is painted as the pages are laid out: it holds every page the stored layout
// makes, each under its own label; cancelled, it leaves no file and the earlier one.
TEST(ReportPdf, StreamedPdfHoldsEveryPageAndACancelLeavesNoFile) {
  TNetworkModel model;
  fillModel(model, 100);  // small enough for a sanitizer build, large enough for both parts' breaks
  const TReportPages stored = layOutReportForScreen(model, 750);
  ASSERT_GT(stored.pages.size(), 15u);
  TempDir dir;
  const std::string pdf = dir.file("report.pdf");
  writeReportPdf(screenReportJob(model, 750), pdf);
  EXPECT_EQ(pdfPageCount(pdf), static_cast<int>(stored.pages.size()));
  const std::string last = runCommand("pdftotext -f " + std::to_string(stored.pages.size()) + " -l " +
                                      std::to_string(stored.pages.size()) + " '" + pdf + "' - 2>/dev/null");
  EXPECT_TRUE(contains(last, "Страница №" + std::to_string(stored.pages.size()))) << last;
  EXPECT_EQ(filesIn(dir.path), std::vector<std::string>{"report.pdf"});

  BackgroundProgress cancelled;
  cancelled.cancel = true;
  writeReportPdf(screenReportJob(model, 750), dir.file("new.pdf"), &cancelled);
  std::ofstream(dir.file("old.pdf")) << "old";
  writeReportPdf(screenReportJob(model, 750), dir.file("old.pdf"), &cancelled);
  EXPECT_EQ(filesIn(dir.path), (std::vector<std::string>{"old.pdf", "report.pdf"}));
  EXPECT_EQ(runCommand("cat '" + dir.file("old.pdf") + "'"), "old");
}

// The preview lays pages out when they show: at 100,000 works the first page is there
// while the walk over some 15,000 pages has only begun, and closing stops the walk.
TEST(ReportPreview, FirstPageShowsBeforeTheLayoutEnds) {
  TNetworkModel model;
  fillModel(model, kMaxWorks);
  const auto started = std::chrono::steady_clock::now();
  {
    TReportDocument document(screenReportJob(model, 750));
    const TReportPage& first = document.page(1);
    EXPECT_FALSE(document.complete());
    EXPECT_GT(first.items.size(), 100u);
  }
  // Not a timing of the layout: the walk stopped at once instead of running to its end.
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
}

TEST(BatchReport, WritesThePdfOfTheCommandItRan) {
  TempDir dir;
  int exitCode = -1;
  const std::string data = VELKO_TEST_DATA "/network20.dat";
  const std::string out = runCommand("cd '" + dir.path.string() + "' && '" VELKO_BATCH "' --optimise --report r.pdf '" +
                                         data + "' 2>/dev/null",
                                     &exitCode);
  EXPECT_EQ(exitCode, 0);
  EXPECT_TRUE(contains(out, "Результаты оптимизации"));  // stdout is the results file as before
  const auto pages = pdfPages(dir.file("r.pdf"));
  ASSERT_EQ(pages.size(), 6u);
  EXPECT_TRUE(contains(pages[3], "Данные расчета после оптимизации"));

  runCommand("cd '" + dir.path.string() + "' && '" VELKO_BATCH "' --report plain.pdf '" + data + "' 2>/dev/null", &exitCode);
  EXPECT_EQ(exitCode, 0);
  const auto plain = pdfPages(dir.file("plain.pdf"));
  EXPECT_EQ(plain.size(), 3u);
  for (const std::string& page : plain) EXPECT_FALSE(contains(page, "после оптимизации"));

  const std::string failed = runCommand("cd '" + dir.path.string() + "' && '" VELKO_BATCH "' --report no/such/dir.pdf '" + data + "' 2>&1", &exitCode);
  EXPECT_EQ(exitCode, 1);
  EXPECT_TRUE(contains(failed, "Invalid filename")) << failed;  // the runtime's message
}

// A failed PDF used to leave velko.rez already replaced; under a size limit the
// results file fits and the PDF does not.
TEST(BatchReport, AFailedOutputLeavesEveryPreviousFile) {
  TempDir dir;
  int exitCode = -1;
  const std::string run = "cd '" + dir.path.string() + "' && '" VELKO_BATCH "' --report r.pdf --charts ch ";
  runCommand(run + "'" VELKO_TEST_DATA "/example.dat' >/dev/null 2>&1", &exitCode);
  ASSERT_EQ(exitCode, 0);
  std::vector<std::pair<std::filesystem::path, std::string>> before;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.path)) {
    if (entry.is_regular_file()) before.emplace_back(entry.path(), runCommand("cat '" + entry.path().string() + "'"));
  }
  const std::string failed =
      runCommand("ulimit -f 20; " + run + "--optimise '" VELKO_TEST_DATA "/example.dat' 2>&1 >/dev/null", &exitCode);
  EXPECT_EQ(exitCode, 1);
  EXPECT_EQ(failed, "Не удалось записать файл r.pdf: File too large\n");
  std::size_t files = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.path)) files += entry.is_regular_file();
  EXPECT_EQ(files, before.size());  // no temporary file left
  for (const auto& [file, bytes] : before) EXPECT_EQ(runCommand("cat '" + file.string() + "'"), bytes) << file;
}

// The length near the format's largest value used to overflow when its text was made.
TEST(BatchReport, LengthNearTheLargestValueIsPrinted) {
  TempDir dir;
  std::ofstream(dir.file("big.dat")) << "1\r\n2\r\n3\r\n1,2,1e38,3,1\r\n2,3,6e37,3,2\r\n";
  int exitCode = -1;
  runCommand("cd '" + dir.path.string() + "' && '" VELKO_BATCH "' --report r.pdf big.dat 2>&1", &exitCode);
  EXPECT_EQ(exitCode, 0);
  const auto pages = pdfPages(dir.file("r.pdf"));
  ASSERT_FALSE(pages.empty());
  EXPECT_TRUE(contains(pages.back(), "Длинна критического пути : 160000000000000000000000000000000000000"));
}

// Runs `check` on the modal window once it is up, then closes that window.
void whenModal(std::function<void(QWidget*)> check) {
  QTimer::singleShot(0, [check] {
    QWidget* modal = QApplication::activeModalWidget();
    ASSERT_NE(modal, nullptr);
    check(modal);
    if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
  });
}

TEST(ReportPreview, OpensMaximisedAtTheZoomKeptWithinBounds) {
  TNetworkModel model;
  computeDataFile(model, "example.dat", false);
  const std::pair<int, int> zooms[] = {{5, 10}, {500, 200}, {75, 75}};
  for (const auto& [asked, shown] : zooms) {
    int seen = -1;
    whenModal([&](QWidget* modal) {
      EXPECT_EQ(modal->windowTitle(), QStringLiteral("Report Preview"));
      EXPECT_TRUE(modal->isMaximized());
      auto* preview = qobject_cast<TReportPreview*>(modal);
      ASSERT_NE(preview, nullptr);
      seen = preview->zoomPercent();
      preview->waitForLayout();
      EXPECT_EQ(preview->preview()->pageCount(), 1);
    });
    runPrintedReport(nullptr, model, 750, asked);
    EXPECT_EQ(seen, shown) << asked;
  }
}

TEST(ReportPreview, SecondPartOpensAtTheOptionsZoomAndPrintingAsksForTheSetupFirst) {
  TNetworkModel model;
  computeDataFile(model, "network20.dat", true);
  QWidget mainWindow;
  TPrint_form owner(&mainWindow);
  mainWindow.show();
  Print_form = &owner;
  QString setupTitle;
  int zoom = -1;
  int pages = -1;
  whenModal([&](QWidget* modal) {
    auto* preview = qobject_cast<TReportPreview*>(modal);
    ASSERT_NE(preview, nullptr);
    zoom = preview->zoomPercent();
    preview->waitForLayout();
    pages = preview->preview()->pageCount();
    whenModal([&](QWidget* setup) { setupTitle = setup->windowTitle(); });
    preview->findChild<QAction*>(QStringLiteral("PrintAction"))->trigger();
  });
  runPrintedReport(nullptr, model, 750, 35);
  EXPECT_EQ(zoom, 35);
  EXPECT_EQ(pages, 6);
  EXPECT_EQ(setupTitle, QStringLiteral("Report Setup"));
  EXPECT_EQ(owner.ReportSystem1->ZoomFactor, 35);
  EXPECT_EQ(owner.ReportSystem1->PageCount, 6);
  EXPECT_FALSE(owner.isVisible());

  // A range is laid out and painted off the window's thread, from where its first page
  // begins.
  TempDir dir;
  const std::string printed = dir.file("printed.pdf");
  whenModal([&](QWidget* modal) {
    auto* preview = qobject_cast<TReportPreview*>(modal);
    ASSERT_NE(preview, nullptr);
    QPrinter* printer = owner.ReportSystem1->printer();
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(QString::fromStdString(printed));
    preview->waitForLayout();
    EXPECT_TRUE(preview->printPages(5, 6));
  });
  runPrintedReport(nullptr, model, 750, 35);
  Print_form = nullptr;
  const auto range = pdfPages(printed);
  ASSERT_EQ(range.size(), 2u);
  EXPECT_TRUE(contains(range[0], "Страница №5"));
  EXPECT_TRUE(contains(range[1], "Страница №6"));
}

// The counter stayed at "1 / 6" while "Вперед", "Назад" or the wheel moved the pages.
TEST(ReportPreview, PageCounterFollowsThePageShownAndPrintShowsAPrinter) {
  TNetworkModel model;
  computeDataFile(model, "network20.dat", true);
  QStringList counter;
  bool printerIcon = false;
  whenModal([&](QWidget* modal) {
    auto* preview = qobject_cast<TReportPreview*>(modal);
    ASSERT_NE(preview, nullptr);
    const auto* label = preview->findChild<QLabel*>(QStringLiteral("PageLabel"));
    ASSERT_NE(label, nullptr);
    const auto action = [&](const char* name) { preview->findChild<QAction*>(QLatin1String(name))->trigger(); };
    preview->waitForLayout();
    counter << label->text().trimmed();
    action("NextPageAction");
    action("NextPageAction");
    counter << label->text().trimmed();
    action("PreviousPageAction");
    counter << label->text().trimmed();
    QScrollBar* scroll = preview->preview()->verticalScrollBar();
    scroll->setValue(scroll->maximum());  // as the wheel or the scroll bar does
    counter << label->text().trimmed();
    const QImage shown = preview->findChild<QAction*>(QStringLiteral("PrintAction"))->icon().pixmap(16).toImage();
    printerIcon = shown == toolIcon(ToolIcon::Print).pixmap(16).toImage();
  });
  runPrintedReport(nullptr, model, 750, 120);
  EXPECT_EQ(counter.join(QLatin1Char('|')).toStdString(), "1 / 6|3 / 6|2 / 6|6 / 6");
  EXPECT_TRUE(printerIcon);
}

}  // namespace
}  // namespace velko
