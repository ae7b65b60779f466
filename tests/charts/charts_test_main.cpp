// Offscreen, with a private runtime folder and HOME: the window tests never see or touch
// a real user's desktop or settings.
#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <QApplication>

namespace {

std::string makePrivateDir(const char* pattern) {
  std::string path = (std::filesystem::temp_directory_path() / pattern).string();
  if (!mkdtemp(path.data())) std::abort();
  return path;  // mkdtemp makes it 0700
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const std::string runtime = makePrivateDir("velko-runtime-XXXXXX");
  const std::string home = makePrivateDir("velko-home-XXXXXX");
  qputenv("XDG_RUNTIME_DIR", runtime.c_str());
  qputenv("HOME", home.c_str());
  qputenv("XDG_CONFIG_HOME", (home + "/.config").c_str());

  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();

  std::error_code ignored;
  std::filesystem::remove_all(runtime, ignored);
  std::filesystem::remove_all(home, ignored);
  return result;
}
