#include "data/file_io.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <set>

#include "model/command_error.h"
#include "scratch_dir.h"

namespace velko {
namespace {

namespace fs = std::filesystem;

std::set<std::string> namesIn(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

std::string errorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const CommandError& error) {
    return error.what();
  }
  return "(no error)";
}

// A link used to be replaced by a regular file, and a private file came back 0644.
TEST(SafeFile, WritesThroughSymbolicLinksAndKeepsThePermissions) {
  testing::ScratchDir dir;
  fs::create_directory(dir.path() / "kept");
  testing::writeBytes(dir.file("kept/results.rez"), "old");
  ::chmod(dir.file("kept/results.rez").c_str(), 0640);
  fs::create_symlink("kept/results.rez", dir.path() / "middle.rez");
  fs::create_symlink("middle.rez", dir.path() / "velko.rez");
  fs::create_symlink("kept/new.rez", dir.path() / "dangling.rez");
  writeFileSafely(dir.file("velko.rez"), "new");
  writeFileSafely(dir.file("dangling.rez"), "made");
  EXPECT_TRUE(fs::is_symlink(dir.path() / "velko.rez"));
  EXPECT_TRUE(fs::is_symlink(dir.path() / "middle.rez"));
  EXPECT_EQ(testing::readBytes(dir.file("kept/results.rez")), "new");
  EXPECT_EQ(fs::status(dir.path() / "kept/results.rez").permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_TRUE(fs::is_symlink(dir.path() / "dangling.rez"));
  EXPECT_EQ(testing::readBytes(dir.file("kept/new.rez")), "made");
  EXPECT_EQ(namesIn(dir.path() / "kept"), (std::set<std::string>{"new.rez", "results.rez"}));
}

// Only unlocked regular files named exactly as this target's temporary files go; a
// write in progress holds its lock.
TEST(SafeFile, RemovesStaleTemporariesOfItsOwnTargetOnly) {
  testing::ScratchDir dir;
  for (const char* name : {".velko.rez.Ab12Cd", ".velko.rez.Live01", ".velko.rez.toolong", ".other.rez.Ab12Cd"}) {
    testing::writeBytes(dir.file(name), "partial");
  }
  fs::create_symlink("velko.rez", dir.path() / ".velko.rez.Link01");
  const int live = ::open(dir.file(".velko.rez.Live01").c_str(), O_RDONLY);
  ASSERT_EQ(::flock(live, LOCK_EX), 0);
  writeFileSafely(dir.file("velko.rez"), "new");
  ::close(live);
  EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"velko.rez", ".velko.rez.Live01", ".velko.rez.toolong",
                                                        ".other.rez.Ab12Cd", ".velko.rez.Link01"}));
}

// A size limit stands for a full disk: the write fails with a message instead of a
// signal, and neither the file that failed nor the one already made replaces its target.
TEST(SafeFileSet, ReplacesNothingUnlessEveryFileIsComplete) {
  testing::ScratchDir dir;
  testing::writeBytes(dir.file("a.rez"), "old a");
  testing::writeBytes(dir.file("b.pdf"), "old b");
  rlimit saved{};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  rlimit small = saved;
  small.rlim_cur = 100;
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  std::string tooLarge;
  {
    SafeFileSet files;
    files.add(dir.file("a.rez"), "new a");
    ::setrlimit(RLIMIT_FSIZE, &small);
    tooLarge = errorOf([&] { files.add(dir.file("b.pdf"), std::string(1000, 'b')); });
    ::setrlimit(RLIMIT_FSIZE, &saved);
  }
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(tooLarge, "Не удалось записать файл " + dir.file("b.pdf") + ": File too large");
  const std::string missing = errorOf([&] {
    SafeFileSet files;
    files.add(dir.file("a.rez"), "new a");
    files.add(dir.file("no/b.pdf"), "new b");
    files.commit();
  });
  EXPECT_EQ(missing, "Не удалось записать файл " + dir.file("no/b.pdf") + ": Invalid filename");
  EXPECT_EQ(testing::readBytes(dir.file("a.rez")), "old a");
  EXPECT_EQ(testing::readBytes(dir.file("b.pdf")), "old b");
  EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"a.rez", "b.pdf"}));

  SafeFileSet files;
  files.add(dir.file("a.rez"), "new a");
  files.add(dir.file("b.pdf"), "new b");
  files.commit();
  EXPECT_EQ(testing::readBytes(dir.file("a.rez")), "new a");
  EXPECT_EQ(testing::readBytes(dir.file("b.pdf")), "new b");
}

}  // namespace
}  // namespace velko
