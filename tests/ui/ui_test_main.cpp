// Offscreen, with a private HOME and configuration folder: the tests never see or touch
// a real user's settings. Each test works in a scratch folder (see WindowTest), so the
// results file is never written into the source tree.
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <QApplication>
#include <QFont>
#include <QString>

#include "ui/late/late_windows_impl.h"

namespace {

std::string makePrivateDir(const char* pattern) {
  std::string path = (std::filesystem::temp_directory_path() / pattern).string();
  if (!mkdtemp(path.data())) std::abort();
  return path;  // mkdtemp makes it 0700
}

// The offscreen platform says so each time a window asks it for something it leaves
// to a window manager; that is no finding of the tests.
QtMessageHandler defaultHandler = nullptr;

void quietPlatform(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.startsWith(QStringLiteral("This plugin does not support"))) return;
  defaultHandler(type, context, message);
}

}  // namespace

void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const std::string runtime = makePrivateDir("velko-runtime-XXXXXX");
  const std::string home = makePrivateDir("velko-home-XXXXXX");
  qputenv("XDG_RUNTIME_DIR", runtime.c_str());
  qputenv("HOME", home.c_str());
  qputenv("XDG_CONFIG_HOME", (home + "/.config").c_str());

  defaultHandler = qInstallMessageHandler(quietPlatform);
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");  // as the program does after its QApplication
  QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
  // The charts window and the report as linked in, not from the module beside the program.
  velko::useLateWindows(&velko::linkedLateWindows());
  ::testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();

  std::error_code ignored;
  std::filesystem::remove_all(runtime, ignored);
  std::filesystem::remove_all(home, ignored);
  return result;
}
