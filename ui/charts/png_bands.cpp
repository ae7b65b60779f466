#include "ui/charts/png_bands.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <functional>
#include <string>

#include <QIODevice>
#include <QImage>
#include <QPainter>

#include "model/command_error.h"
#include "ui/charts/chart_pictures.h"

namespace velko {

namespace {

// Rows painted above and below each band and not stored: anti-aliased edges come out
// differently where a band's image ends.
constexpr int kOverlap = 4;

struct Output {
  QIODevice* device;
  bool failed = false;
};

void writeBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<Output*>(png_get_io_ptr(png));
  if (out->device->write(reinterpret_cast<const char*>(data), static_cast<qint64>(length)) !=
      static_cast<qint64>(length)) {
    out->failed = true;
    png_error(png, "write failed");
  }
}

void flushNothing(png_structp) {}

// libpng reports errors by a long jump back to here: nothing between the setjmp and
// the calls that may jump has a destructor to skip. `nextRows` paints the next band and
// returns its rows; the band's image lives in the caller's frame. Returns libpng's
// message, empty on success.
std::string encode(png_structp png, png_infop info, int width, int height,
                   const std::function<const QImage&(int firstRow)>& nextRows, int bandRows) {
  // NOLINTNEXTLINE(cert-err52-cpp): libpng's documented error handling
  if (setjmp(png_jmpbuf(png))) return "PNG";
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
  png_set_compression_level(png, 1);
  png_write_info(png, info);
  // The rows are 32-bit B, G, R, unused (QImage::Format_RGB32 in memory); libpng takes
  // these after the header.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
  png_set_bgr(png);
  png_set_filler(png, 0, PNG_FILLER_AFTER);
#else
  png_set_filler(png, 0, PNG_FILLER_BEFORE);
#endif
  for (int first = 0; first < height; first += bandRows) {
    const QImage& band = nextRows(first);
    for (int y = 0; y < std::min(bandRows, height - first); ++y) {
      png_write_row(png, band.constScanLine(kOverlap + y));
    }
  }
  png_write_end(png, info);
  return {};
}

}  // namespace

void writePngInBands(const ChartPicture& picture, double scale, QIODevice& device, qint64 bandBytes) {
  const QSize size = (picture.size * scale).toSize().expandedTo(QSize(1, 1));
  const int bandRows = static_cast<int>(std::clamp<qint64>(bandBytes / (4 * qint64{size.width()}), 1, size.height()));
  // Painted in the painter's own format: a three-byte format goes through its generic
  // blending, which hands every long span to a thread pool and spent most of the time of
  // a large picture waiting on it. libpng drops the fourth byte.
  QImage band(size.width(), bandRows + 2 * kOverlap, QImage::Format_RGB32);
  const auto nextRows = [&](int firstRow) -> const QImage& {
    band.fill(Qt::white);
    {
      QPainter painter(&band);
      painter.setRenderHint(QPainter::TextAntialiasing);
      painter.translate(0, kOverlap - firstRow);
      // The clip tells the pictures which of their parts the band can show.
      painter.setClipRect(QRect(0, firstRow - kOverlap, size.width(), band.height()));
      painter.scale(scale, scale);
      if (picture.paint) picture.paint(painter);
    }
    return band;
  };

  Output out{&device};
  struct Writer {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    ~Writer() { png_destroy_write_struct(&png, &info); }
  } writer;
  if (!writer.info) throw CommandError("Недостаточно памяти для рисунка PNG");
  png_set_write_fn(writer.png, &out, writeBytes, flushNothing);
  const std::string failure = encode(writer.png, writer.info, size.width(), size.height(), nextRows, bandRows);
  if (!failure.empty()) {
    throw CommandError(out.failed ? device.errorString().toStdString() : "Не удалось записать рисунок PNG");
  }
}

}  // namespace velko
