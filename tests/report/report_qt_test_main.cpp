// Offscreen, with a private runtime folder, so no display and no user's settings are
// involved.
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <QApplication>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  std::string runtime = (std::filesystem::temp_directory_path() / "velko-runtime-XXXXXX").string();
  if (!mkdtemp(runtime.data())) return 1;
  qputenv("XDG_RUNTIME_DIR", runtime.c_str());

  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");  // as the program does after its QApplication
  ::testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  std::error_code ignored;
  std::filesystem::remove_all(runtime, ignored);
  return result;
}
