#include "ui/command_line.h"

#include <cstdio>
#include <cstdlib>

#include <QCommandLineParser>
#include <QCoreApplication>

#include "velko_version.h"

namespace velko {

QString dataFileArgument(const QCoreApplication& app) {
  QCoreApplication::setApplicationVersion(QString::fromLatin1(kProgramVersion));
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Расчет и оптимизация трудовых ресурсов по времени"));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument(QStringLiteral("ФАЙЛ"), QStringLiteral("файл исходных данных (*.dat), который открыть"),
                               QStringLiteral("[ФАЙЛ]"));
  parser.process(app);
  const QStringList files = parser.positionalArguments();
  if (files.size() > 1) {
    // As the parser itself ends the program on an unknown option.
    std::fputs(qPrintable(QStringLiteral("velko: можно открыть только один файл\n") + parser.helpText()), stderr);
    std::exit(2);
  }
  return files.isEmpty() ? QString() : files.constFirst();
}

}  // namespace velko
