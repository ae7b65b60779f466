#include "data/file_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>
#include <string_view>
#include <vector>

#include "model/command_error.h"

namespace velko {

std::string fileErrorMessage(int error, bool reading) {
  switch (error) {
    case ENOENT:
      return reading ? "File not found" : "Invalid filename";
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case ELOOP:
      return "Invalid filename";
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
    case EBUSY:
      return "File access denied";
    case EMFILE:
    case ENFILE:
      return "Too many open files";
    case ENOSPC:
    case EDQUOT:
      return "Disk full";
    case EFBIG:
      return "File too large";
    default:
      return "I/O error " + std::to_string(error);
  }
}

std::string systemErrorText(int error) {
  char buffer[256];
  // The GNU strerror_r: the text may be a static string rather than the buffer.
  return ::strerror_r(error, buffer, sizeof buffer);
}

std::string fileWriteFailure(const std::string& what, const std::string& path, int error, const std::string& cure) {
  std::error_code failed;
  const std::filesystem::path full = std::filesystem::absolute(path, failed);
  return "Не удалось записать " + what + " " + (failed ? path : full.lexically_normal().string()) + ": " +
         systemErrorText(error) + ". " + cure;
}

namespace {

std::string directoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string fileNameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A symbolic link is written through to the file it names, even when that file does
// not exist yet, so the link stays a link.
std::string finalTarget(std::string path) {
  std::vector<char> buffer(4096);
  for (int depth = 0; depth < 40; ++depth) {
    const ssize_t n = ::readlink(path.c_str(), buffer.data(), buffer.size());
    if (n < 0) return path;  // not a link, or nothing there
    if (static_cast<std::size_t>(n) >= buffer.size()) throw FileWriteError(ENAMETOOLONG);
    const std::string target(buffer.data(), static_cast<std::size_t>(n));
    path = target.front() == '/' ? target : directoryOf(path) + "/" + target;
  }
  throw FileWriteError(ELOOP);
}

constexpr std::size_t kTempSuffixLength = 6;  // mkstemp's XXXXXX

bool isTempSuffix(std::string_view suffix) {
  if (suffix.size() != kTempSuffixLength) return false;
  for (const char c : suffix) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) return false;
  }
  return true;
}

// Temporary files of a write that was killed: ours by name and owner, and no longer
// locked, since a writer holds the lock on its temporary file until it is renamed.
void removeStaleTemporaries(const std::string& directory, const std::string& name) {
  DIR* folder = ::opendir(directory.c_str());
  if (folder == nullptr) return;
  const std::string prefix = "." + name + ".";
  while (const dirent* entry = ::readdir(folder)) {
    const std::string_view entryName(entry->d_name);
    if (entryName.size() != prefix.size() + kTempSuffixLength || entryName.substr(0, prefix.size()) != prefix ||
        !isTempSuffix(entryName.substr(prefix.size()))) {
      continue;
    }
    struct stat before {};
    if (::fstatat(::dirfd(folder), entry->d_name, &before, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(before.st_mode) ||
        before.st_uid != ::geteuid()) {
      continue;
    }
    const int fd = ::openat(::dirfd(folder), entry->d_name, O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) continue;
    struct stat opened {};
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0 && opened.st_ino == before.st_ino &&
        opened.st_dev == before.st_dev) {
      ::unlinkat(::dirfd(folder), entry->d_name, 0);
    }
    ::close(fd);
  }
  ::closedir(folder);
}

}  // namespace

SafeFileWriter::SafeFileWriter(std::string path) {
  if (path.empty() || path.back() == '/') throw FileWriteError(ENOENT);
  path_ = finalTarget(std::move(path));
  // A directory or other non-file under the target name is refused as the plain
  // open would refuse it, before anything is created; so is a file the user may not
  // write.
  struct stat target {};
  const bool exists = ::stat(path_.c_str(), &target) == 0;
  if (exists && !S_ISREG(target.st_mode)) {
    throw FileWriteError(S_ISDIR(target.st_mode) ? EISDIR : EACCES);
  }
  if (exists && ::access(path_.c_str(), W_OK) != 0) throw FileWriteError(errno);
  const std::string directory = directoryOf(path_);
  removeStaleTemporaries(directory, fileNameOf(path_));
  std::string pattern = directory + "/." + fileNameOf(path_) + "." + std::string(kTempSuffixLength, 'X');
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  fd_ = ::mkostemp(buffer.data(), O_CLOEXEC);
  if (fd_ < 0) throw FileWriteError(errno);
  tempPath_ = buffer.data();
  ::flock(fd_, LOCK_EX);
  // The permissions of the file replaced, or those an ordinary new file would get.
  mode_t mode = 0;
  if (exists) {
    mode = target.st_mode & 0777;
  } else {
    mode = ::umask(0);
    ::umask(mode);
    mode = 0666 & ~mode;
  }
  ::fchmod(fd_, mode);
}

SafeFileWriter::~SafeFileWriter() {
  if (fd_ >= 0) ::close(fd_);
  if (!tempPath_.empty()) ::unlink(tempPath_.c_str());
  if (lockFd_ >= 0) ::close(lockFd_);
}

void SafeFileWriter::fail(int error) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  ::unlink(tempPath_.c_str());
  tempPath_.clear();
  throw FileWriteError(error);
}

void SafeFileWriter::write(const std::string& bytes) { write(bytes.data(), bytes.size()); }

void SafeFileWriter::write(const char* bytes, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::write(fd_, bytes + done, size - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      fail(errno);
    }
    done += static_cast<std::size_t>(n);
  }
}

void SafeFileWriter::finish() {
  if (::fsync(fd_) != 0 && errno != EINVAL) fail(errno);
  // The lock stays with a second descriptor until the rename, so that no other write
  // takes the finished file for a stale one.
  lockFd_ = ::dup(fd_);
  if (lockFd_ < 0) fail(errno);
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) fail(errno);
}

void SafeFileWriter::replace() {
  if (::rename(tempPath_.c_str(), path_.c_str()) != 0) fail(errno);
  tempPath_.clear();
  ::close(lockFd_);
  lockFd_ = -1;
}

void SafeFileWriter::commit() {
  finish();
  replace();
}

void writeFileSafely(const std::string& path, const std::string& bytes) {
  SafeFileWriter writer(path);
  writer.write(bytes);
  writer.commit();
}

namespace {

[[noreturn]] void refuseWrite(const std::string& path, const FileWriteError& error) {
  throw FileWriteError(error.error(), "Не удалось записать файл " + path + ": " + error.what());
}

}  // namespace

void SafeFileSet::add(const std::string& path, const std::string& bytes) {
  try {
    auto writer = std::make_unique<SafeFileWriter>(path);
    writer->write(bytes);
    files_.push_back({path, std::move(writer)});
  } catch (const FileWriteError& error) {
    refuseWrite(path, error);
  }
}

void SafeFileSet::add(const std::string& path, const std::function<void(SafeFileWriter&)>& fill) {
  try {
    auto writer = std::make_unique<SafeFileWriter>(path);
    fill(*writer);
    files_.push_back({path, std::move(writer)});
  } catch (const FileWriteError& error) {
    refuseWrite(path, error);
  }
}

void SafeFileSet::commit() {
  // Disk full and quota errors show at the latest when a file is flushed and closed:
  // every file is finished before the first target is replaced.
  for (auto& [path, writer] : files_) {
    try {
      writer->finish();
    } catch (const FileWriteError& error) {
      refuseWrite(path, error);
    }
  }
  // A rename beside its own temporary file fails only when the folder changed under
  // us; the files renamed before it then stay replaced.
  for (auto& [path, writer] : files_) {
    try {
      writer->replace();
    } catch (const FileWriteError& error) {
      refuseWrite(path, error);
    }
  }
  files_.clear();
}

std::optional<std::string> readRegularFile(const std::string& path, std::size_t limit) {
  // Without O_NONBLOCK the open of a FIFO would wait for a writer.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) throw CommandError(fileErrorMessage(errno, true));
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    if (S_ISDIR(info.st_mode)) throw CommandError(fileErrorMessage(EACCES, true));
    throw CommandError("Файл " + path + ": это не обычный файл");
  }
  if (static_cast<std::uintmax_t>(info.st_size) > limit) {
    ::close(fd);
    return std::nullopt;
  }
  std::string bytes;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      ::close(fd);
      throw CommandError(fileErrorMessage(error, true));
    }
    if (n == 0) break;
    // A file that grows while it is read, or one that tells no size, still stops here.
    if (static_cast<std::size_t>(n) > limit - bytes.size()) {
      ::close(fd);
      return std::nullopt;
    }
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return bytes;
}

std::string readWholeFile(const std::string& path) {
  return *readRegularFile(path, std::numeric_limits<std::size_t>::max());
}

}  // namespace velko
