// Any bytes as a stored settings file: every entry the windows restore is read as they
// read it, and a stored placement is taken through the placement rule against a
// desktop of two screens. Refusals (a damaged entry) are fine; a crash, an overflow, a
// window placed where its title bar cannot be reached, or a value that does not read
// back as it was written, is not.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <optional>

#include <QCoreApplication>
#include <QFile>
#include <QSettings>

#include "model/command_error.h"
#include "ui/options/placement_rule.h"
#include "ui/options/settings_store.h"

namespace {

const QList<QRect> kScreens = {QRect(0, 0, 1280, 994), QRect(1280, -200, 1024, 768)};

template <typename T>
std::optional<T> readOrNothing(const std::function<std::optional<T>()>& read) {
  try {
    return read();
  } catch (const velko::CommandError&) {
    return std::nullopt;
  }
}

void checkPlacement(const std::array<std::int32_t, 4>& normPos) {
  for (const bool sizeable : {true, false}) {
    const std::optional<QRect> rect = velko::restoredRectangle(normPos, sizeable, QSize(345, 470), kScreens);
    if (!rect) continue;
    const QRect strip(rect->topLeft(), QSize(rect->width(), std::min(rect->height(), 20)));
    bool onScreen = false;
    for (const QRect& screen : kScreens) onScreen = onScreen || screen.intersects(strip);
    if (!onScreen || rect->isEmpty()) std::abort();
    // What the next save writes gives the same rectangle back.
    if (velko::restoredRectangle(velko::storedRectangle(*rect), true, QSize(1, 1), kScreens) != rect) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static int argc = 1;
  static char name[] = "fuzz_settings";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  static const QString path = QStringLiteral("fuzz-settings-%1.ini").arg(::getpid());
  static const QString written = QStringLiteral("fuzz-written-%1.ini").arg(::getpid());
  {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
  }
  QSettings settings(path, QSettings::IniFormat);
  velko::SettingsStore store(settings);
  QFile::remove(written);
  QSettings out(written, QSettings::IniFormat);
  velko::SettingsStore copy(out);
  for (const QString& section : {QStringLiteral("TMain"), QStringLiteral("Trab_form"), QStringLiteral("TParam")}) {
    using Four = std::array<std::int32_t, 4>;
    const auto normPos = readOrNothing<Four>([&] { return store.readFour(section, QStringLiteral("NormPos")); });
    const auto showCmd = readOrNothing<std::int32_t>([&] { return store.readInteger(section, QStringLiteral("ShowCmd")); });
    const auto text = readOrNothing<QString>([&] { return store.readText(section, QStringLiteral("CurrencyEdit5_Text")); });
    if (normPos) {
      checkPlacement(*normPos);
      copy.writeFour(section, QStringLiteral("NormPos"), *normPos);
    }
    if (showCmd) copy.writeInteger(section, QStringLiteral("ShowCmd"), *showCmd);
    if (text) copy.writeText(section, QStringLiteral("CurrencyEdit5_Text"), *text);
    try {
      copy.commit();
    } catch (const velko::CommandError&) {
      std::abort();
    }
    QSettings again(written, QSettings::IniFormat);
    velko::SettingsStore back(again);
    try {
      if (normPos && back.readFour(section, QStringLiteral("NormPos")) != normPos) std::abort();
      if (showCmd && back.readInteger(section, QStringLiteral("ShowCmd")) != showCmd) std::abort();
      if (text && back.readText(section, QStringLiteral("CurrencyEdit5_Text")) != text) std::abort();
    } catch (const velko::CommandError&) {
      std::abort();  // what was written is refused when read again
    }
  }
  return 0;
}
