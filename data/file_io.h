#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/command_error.h"

namespace velko {

// The runtime's message for a failed file operation ("File not found",
// "File access denied", "Disk full", "I/O error %d", ...), from errno.
std::string fileErrorMessage(int error, bool reading);

// A file that could not be written, with the system's error number for a message that
// names the file and gives the system's own reason.
class FileWriteError : public CommandError {
 public:
  explicit FileWriteError(int error) : FileWriteError(error, fileErrorMessage(error, false)) {}
  FileWriteError(int error, const std::string& message) : CommandError(message), error_(error) {}
  int error() const { return error_; }

 private:
  int error_;
};

// The system's description of `error`, in the user's language where the C library has
// it for the locale in force.
std::string systemErrorText(int error);

// "Не удалось записать WHAT FULL-PATH: reason. CURE", the reason from systemErrorText.
std::string fileWriteFailure(const std::string& what, const std::string& path, int error, const std::string& cure);

// Writes a whole file safely: the bytes go to a temporary file beside the target,
// which replaces the target only once it is complete. A failure throws a CommandError
// with the runtime's message and leaves any previous file as it was. A symbolic link
// is written through to its target, and a file replaced keeps its permission bits.
// Temporary files of this target left by a killed write are removed.
class SafeFileWriter {
 public:
  explicit SafeFileWriter(std::string path);  // creates the temporary file
  ~SafeFileWriter();                          // removes it unless committed
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;

  void write(const std::string& bytes);
  void write(const char* bytes, std::size_t size);
  void commit();  // finish(), then replace()

  void finish();   // flushes and closes the temporary file
  void replace();  // renames it over the target

 private:
  void fail(int error);
  std::string path_;  // a symbolic link's final target
  std::string tempPath_;
  int fd_ = -1;
  int lockFd_ = -1;  // holds the temporary file's lock from finish() to replace()
};

// Writes `bytes` to `path` through a SafeFileWriter.
void writeFileSafely(const std::string& path, const std::string& bytes);

// Several files written as one: each goes to a temporary file of its own, and the
// targets are replaced only once every file is complete, so that a failure leaves all
// the previous files as they were. Errors name the file: "Не удалось записать файл
// NAME: Disk full" (a FileWriteError). Without commit() nothing is replaced.
class SafeFileSet {
 public:
  void add(const std::string& path, const std::string& bytes);
  // A file written piece by piece by `fill`, for output too large to hold whole. A
  // FileWriteError that `fill` throws names the file as above.
  void add(const std::string& path, const std::function<void(SafeFileWriter&)>& fill);
  void commit();

 private:
  struct File {
    std::string path;
    std::unique_ptr<SafeFileWriter> writer;
  };
  std::vector<File> files_;
};

// Reads a whole regular file of at most `limit` bytes; nothing when it holds more.
// Anything but a regular file (a FIFO, a device) is refused before it is read, as a
// FIFO would block and a device may never end; a folder gives "File access denied".
// Throws a CommandError with the runtime's message or one that names the file.
std::optional<std::string> readRegularFile(const std::string& path, std::size_t limit);

// The same without a limit.
std::string readWholeFile(const std::string& path);

}  // namespace velko
