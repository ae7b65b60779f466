#include "ui/charts/chart_text.h"

#include <cmath>

#include "model/number_text.h"

namespace velko {

QString plainNumber(Extended value) {
  const double rounded = std::round(static_cast<double>(value) * 100.0) / 100.0;
  QString text = QString::number(rounded == 0 ? 0.0 : rounded, 'f', 2);
  while (text.endsWith(QLatin1Char('0'))) text.chop(1);
  if (text.endsWith(QLatin1Char('.'))) text.chop(1);
  return text;
}

QString chartNumber(Extended value) {
  return plainNumber(value).replace(QLatin1Char('.'), QLatin1Char(kDecimalSeparator));
}

QString workName(int i, int j) { return QStringLiteral("%1-%2").arg(i).arg(j); }

}  // namespace velko
