#include "ui/charts/chart_export.h"

#include <sys/resource.h>

#include <csignal>
#include <utility>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>

#include "../russian_numbers.h"
#include "charts_test_support.h"
#include "model/command_error.h"
#include "ui/charts/optimisation_log.h"
#include "ui/charts/png_bands.h"

namespace velko {
namespace {

QByteArray contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class ChartExport : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  testing::Run run = testing::optimise(3, testing::kThreeEvents);
  QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
};

TEST_F(ChartExport, PngSvgPdf) {
  const ChartPicture picture = networkPicture(*run.model, 2);
  savePicture(picture, path("net.png"));
  savePicture(picture, path("net.svg"));
  savePicture(picture, path("net.PDF"));
  const QImage png(path("net.png"));
  ASSERT_FALSE(png.isNull());
  EXPECT_EQ(png.size(), (picture.size * 2).toSize());
  EXPECT_TRUE(testing::notBlank(png));
  const QByteArray svg = contents(path("net.svg"));
  EXPECT_TRUE(svg.contains("<svg"));
  EXPECT_TRUE(svg.contains("Id 7"));
  EXPECT_TRUE(contents(path("net.PDF")).startsWith("%PDF"));
  // Only the three files: no temporary file left behind.
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3);
}

// A full disk (a size limit here) used to say "Unknown error" and a line of libpng.
TEST_F(ChartExport, RefusesUnknownFormatAndUnwritablePlaceNamingFileAndReason) {
  const ChartPicture picture = profilePicture(*run.model);
  EXPECT_THROW(savePicture(picture, path("net.jpg")), CommandError);
  rlimit saved{};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  rlimit small = saved;
  small.rlim_cur = 1000;
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  for (const auto& [name, reason] : {std::pair{"missing/net.png", "Invalid filename"},
                                     std::pair{"full.png", "File too large"}}) {
    if (reason == std::string("File too large")) ::setrlimit(RLIMIT_FSIZE, &small);
    try {
      savePicture(picture, path(name));
      ADD_FAILURE() << name;
    } catch (const CommandError& error) {
      EXPECT_EQ(QString::fromStdString(error.what()),
                QStringLiteral("Не удалось записать файл %1: %2").arg(path(name), QString::fromLatin1(reason)));
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
  }
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

// The set used to be replaced one picture at a time, leaving old and new mixed.
TEST_F(ChartExport, BatchFilesAreReplacedAllOrNone) {
  const QString folder = path("charts");
  writeChartFiles(folder.toStdString(), *run.model, run.moves, true);
  QMap<QString, QByteArray> before;
  for (const QString& name : QDir(folder).entryList(QDir::Files)) before[name] = contents(folder + "/" + name);
  ASSERT_TRUE(QFile::remove(folder + "/workers.png"));
  ASSERT_TRUE(QDir(folder).mkdir(QStringLiteral("workers.png")));  // cannot be replaced
  before.remove(QStringLiteral("workers.png"));
  const testing::Run other = testing::calculate(3, testing::kThreeEvents);
  EXPECT_THROW(writeChartFiles(folder.toStdString(), *other.model, {}, false), CommandError);
  for (auto it = before.cbegin(); it != before.cend(); ++it)
    EXPECT_EQ(contents(folder + "/" + it.key()), it.value()) << it.key().toStdString();
  EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), before.size());
}

TEST_F(ChartExport, ReplacesAnOlderFile) {
  QFile old(path("bars.svg"));
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("old");
  old.close();
  savePicture(barChartPicture(*run.model, 1), path("bars.svg"));
  EXPECT_TRUE(contents(path("bars.svg")).contains("<svg"));
}

// Ink of each row of an image: thin lines may fall a pixel aside where a band clips
// them, but a band out of place or missing changes whole rows.
std::vector<long> rowInk(const QImage& image) {
  std::vector<long> ink;
  for (int y = 0; y < image.height(); ++y) {
    long sum = 0;
    for (int x = 0; x < image.width(); ++x) sum += 255 - qGray(image.pixel(x, y));
    ink.push_back(sum);
  }
  return ink;
}

// A picture encoded in bands of a few rows, the last one short, reads back as the
// picture painted whole; a device that takes no bytes fails the export.
TEST_F(ChartExport, PngInBandsIsThePictureWhole) {
  const ChartPicture picture = networkPicture(*run.model, 2);
  const QImage whole = renderPicture(picture, 1.0);
  QBuffer bytes;
  bytes.open(QIODevice::WriteOnly);
  writePngInBands(picture, 1.0, bytes, 3 * qint64{whole.width()} * 7);
  const QImage banded = QImage::fromData(bytes.data(), "PNG");
  ASSERT_EQ(banded.size(), whole.size());
  EXPECT_NE(whole.height() % 7, 0);
  const std::vector<long> expected = rowInk(whole);
  const std::vector<long> actual = rowInk(banded);
  for (int y = 0; y < whole.height(); ++y) {
    const auto k = static_cast<std::size_t>(y);
    EXPECT_LE(std::abs(expected[k] - actual[k]), 400 + std::max(expected[k], actual[k]) / 8) << "row " << y;
  }

  QBuffer readOnly;
  readOnly.open(QIODevice::ReadOnly);
  EXPECT_THROW(writePngInBands(picture, 1.0, readOnly), CommandError);
}

TEST(PngScale, TwiceTheSizeUpToTheLimit) {
  EXPECT_EQ(pngScale(QSizeF(900, 600)), 2.0);
  const double scale = pngScale(QSizeF(8000, 1700));  // a 50-event network with long jumps
  EXPECT_LT(scale, 2.0);
  EXPECT_NEAR(8000 * scale * 1700 * scale, kMaxPngPixels, 1);
}

TEST_F(ChartExport, LogPagesAsOnePdfDocument) {
  const std::vector<OptimisationMove> moves(2 * kLogRowsPerPage + 1, run.moves.front());
  const std::vector<ChartPicture> pages = optimisationLogPages(moves, true);
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_EQ(pages[0].size, pages[1].size);
  EXPECT_EQ(pages[2].size.width(), pages[0].size.width());  // the same columns on every page
  EXPECT_LT(pages[2].size.height(), pages[0].size.height());
  savePages(pages, path("log.pdf"));
  const QByteArray pdf = contents(path("log.pdf"));
  EXPECT_EQ(pdf.count("/Type /Page\n"), 3);
}

TEST_F(ChartExport, BatchFilesAfterOptimise) {
  const QString folder = path("charts/out");
  writeChartFiles(folder.toStdString(), *run.model, run.moves, true);
  for (const char* name : {"network.png", "bar_chart.png", "workers.png"}) {
    const QImage image(folder + "/" + name);
    EXPECT_FALSE(image.isNull()) << name;
    EXPECT_TRUE(testing::notBlank(image)) << name;
  }
  EXPECT_TRUE(contents(folder + "/optimisation_log.pdf").startsWith("%PDF"));
  const QByteArray csv = contents(folder + "/optimisation_log.csv");
  EXPECT_EQ(csv.count("\r\n"), 2);
  EXPECT_TRUE(csv.contains("\r\n1,2-3,7,1-3,4,12,2,4,2 / 6,6 / 2,6 / 2,2 / 6,6\r\n"));
  EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 5);
}

TEST_F(ChartExport, BatchRefusesTheVariantNotComputed) {
  const testing::Run plain = testing::calculate(3, testing::kThreeEvents);
  EXPECT_THROW(writeChartFiles(path("x").toStdString(), *plain.model, {}, true), CommandError);
  writeChartFiles(path("y").toStdString(), *plain.model, {}, false);
  EXPECT_EQ(QDir(path("y")).entryList(QDir::Files).size(), 5);
}

// Run in the users' locale where it is installed: there the tool once exited 1 with
// "Не удалось расположить сетевой график".
TEST_F(ChartExport, BatchToolWritesThePicturesOfTheCommandItRan) {
  QProcess batch;
  batch.setWorkingDirectory(dir.path());
  if (testing::RussianNumbers().active()) {
    QProcessEnvironment russian = QProcessEnvironment::systemEnvironment();
    russian.insert(QStringLiteral("LANG"), QStringLiteral("ru_RU.UTF-8"));
    russian.insert(QStringLiteral("LC_ALL"), QStringLiteral("ru_RU.UTF-8"));
    batch.setProcessEnvironment(russian);
  }
  batch.start(QStringLiteral(VELKO_BATCH),
              {"--optimise", "--charts", "pictures", QStringLiteral(VELKO_EXAMPLES "/network20.dat")});
  ASSERT_TRUE(batch.waitForFinished(60000));
  EXPECT_EQ(batch.exitCode(), 0) << batch.readAllStandardError().toStdString();
  EXPECT_TRUE(batch.readAllStandardOutput().contains("Результаты оптимизации"));
  const QImage workers(path("pictures/workers.png"));
  EXPECT_TRUE(testing::notBlank(workers));
  EXPECT_GT(contents(path("pictures/optimisation_log.csv")).count("\r\n"), 1);

  // Nothing but a folder that cannot be made: the tool says so and fails.
  batch.start(QStringLiteral(VELKO_BATCH),
              {"--charts", "/proc/no-such/charts", QStringLiteral(VELKO_EXAMPLES "/network20.dat")});
  ASSERT_TRUE(batch.waitForFinished(60000));
  EXPECT_EQ(batch.exitCode(), 1);
  EXPECT_FALSE(batch.readAllStandardError().isEmpty());
}

}  // namespace
}  // namespace velko
