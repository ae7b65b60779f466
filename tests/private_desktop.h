#pragma once

// Offscreen, with a private runtime folder, HOME and configuration folder, so window
// tests never see or touch a real user's desktop or settings. Make one before the
// QApplication; the folders go with it.
#include <QtGlobal>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace velko::testing {

class PrivateDesktop {
 public:
  PrivateDesktop() : runtime_(makePrivateDir("velko-runtime-XXXXXX")), home_(makePrivateDir("velko-home-XXXXXX")) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_RUNTIME_DIR", runtime_.c_str());
    qputenv("HOME", home_.c_str());
    qputenv("XDG_CONFIG_HOME", (home_ + "/.config").c_str());
  }
  ~PrivateDesktop() {
    std::error_code ignored;
    std::filesystem::remove_all(runtime_, ignored);
    std::filesystem::remove_all(home_, ignored);
  }
  PrivateDesktop(const PrivateDesktop&) = delete;
  PrivateDesktop& operator=(const PrivateDesktop&) = delete;

 private:
  static std::string makePrivateDir(const char* pattern) {
    std::string path = (std::filesystem::temp_directory_path() / pattern).string();
    if (!mkdtemp(path.data())) std::abort();
    return path;  // mkdtemp makes it 0700
  }
  std::string runtime_;
  std::string home_;
};

}  // namespace velko::testing
