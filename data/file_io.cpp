#include "data/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
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
    case EFBIG:
      return "Disk full";
    default:
      return "I/O error " + std::to_string(error);
  }
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

}  // namespace

SafeFileWriter::SafeFileWriter(std::string path) : path_(std::move(path)) {
  if (path_.empty() || path_.back() == '/') throw CommandError(fileErrorMessage(ENOENT, false));
  // A directory or other non-file under the target name is refused as the plain
  // open would refuse it, before anything is created.
  struct stat target {};
  if (::stat(path_.c_str(), &target) == 0 && !S_ISREG(target.st_mode)) {
    throw CommandError(fileErrorMessage(S_ISDIR(target.st_mode) ? EISDIR : EACCES, false));
  }
  std::string pattern = directoryOf(path_) + "/." + fileNameOf(path_) + ".XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  fd_ = ::mkstemp(buffer.data());
  if (fd_ < 0) throw CommandError(fileErrorMessage(errno, false));
  tempPath_ = buffer.data();
  // Keep the permissions an ordinary new file would get.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd_, 0666 & ~mask);
}

SafeFileWriter::~SafeFileWriter() {
  if (fd_ >= 0) ::close(fd_);
  if (!tempPath_.empty()) ::unlink(tempPath_.c_str());
}

void SafeFileWriter::fail(int error) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  ::unlink(tempPath_.c_str());
  tempPath_.clear();
  throw CommandError(fileErrorMessage(error, false));
}

void SafeFileWriter::write(const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      fail(errno);
    }
    done += static_cast<std::size_t>(n);
  }
}

void SafeFileWriter::commit() {
  if (::fsync(fd_) != 0 && errno != EINVAL) fail(errno);
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) {
    const int error = errno;
    ::unlink(tempPath_.c_str());
    tempPath_.clear();
    throw CommandError(fileErrorMessage(error, false));
  }
  if (::rename(tempPath_.c_str(), path_.c_str()) != 0) {
    const int error = errno;
    ::unlink(tempPath_.c_str());
    tempPath_.clear();
    throw CommandError(fileErrorMessage(error, false));
  }
  tempPath_.clear();
}

void writeFileSafely(const std::string& path, const std::string& bytes) {
  SafeFileWriter writer(path);
  writer.write(bytes);
  writer.commit();
}

std::string readWholeFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw CommandError(fileErrorMessage(errno, true));
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    ::close(fd);
    throw CommandError(fileErrorMessage(EACCES, true));
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
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return bytes;
}

}  // namespace velko
