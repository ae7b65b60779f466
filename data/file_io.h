#pragma once

#include <string>

namespace velko {

// The runtime's message for a failed file operation ("File not found",
// "File access denied", "Disk full", "I/O error %d", ...), from errno.
std::string fileErrorMessage(int error, bool reading);

// Writes a whole file safely: the bytes go to a temporary file beside the target,
// which replaces the target only once it is complete. A failure throws a CommandError
// with the runtime's message and leaves any previous file as it was.
class SafeFileWriter {
 public:
  explicit SafeFileWriter(std::string path);  // creates the temporary file
  ~SafeFileWriter();                          // removes it unless committed
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;

  void write(const std::string& bytes);
  void commit();  // flushes, closes and renames over the target

 private:
  void fail(int error);
  std::string path_;
  std::string tempPath_;
  int fd_ = -1;
};

// Writes `bytes` to `path` through a SafeFileWriter.
void writeFileSafely(const std::string& path, const std::string& bytes);

// Reads a whole file; throws a CommandError with the runtime's message.
std::string readWholeFile(const std::string& path);

}  // namespace velko
