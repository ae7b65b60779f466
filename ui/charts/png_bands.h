#pragma once

#include <QtGlobal>

class QIODevice;

namespace velko {

struct ChartPicture;

// The largest band's image in bytes.
inline constexpr qint64 kPngBandBytes = 24 << 20;

// Writes the picture `scale` times its natural size as PNG to `device`, painted in bands
// of rows that are encoded as they come: a picture of any size the tables allow needs
// only one band's image, not one of its whole size. The rows are stored unfiltered with
// fast compression, which suits flat-coloured charts and costs a fraction of the
// filtering that a general-purpose writer tries on every row. Throws CommandError with
// the device's message when writing fails.
void writePngInBands(const ChartPicture& picture, double scale, QIODevice& device,
                     qint64 bandBytes = kPngBandBytes);

}  // namespace velko
