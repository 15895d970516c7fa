#pragma once
// The one file layer of the suite. Paths are bytes in the system's ANSI code page; a path longer than the
// platform allows fails the way a missing file does. Win32 and POSIX implementations.
#include <cstddef>
#include <cstdint>
#include <string>

namespace korval::fileio {

// Longest path text (without the terminating zero) that the platform accepts.
std::size_t MaxPathLength();

// An open file; closed when the object goes. Opening never creates or truncates a file.
class File {
 public:
  enum class Access { ReadOnly, ReadWrite };

  File() = default;
  static File Open(const std::string& path, Access access);
  ~File();
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  bool IsOpen() const;
  // Bytes transferred; 0 on failure or at the end of the file.
  std::size_t Read(void* buffer, std::size_t count);
  std::size_t Write(const void* buffer, std::size_t count);
  bool SeekToStart();
  void Close();

 private:
  explicit File(std::intptr_t handle) : handle_(handle) {}
  std::intptr_t handle_ = -1;
};

enum class ReadResult { Ok, Missing, Failed };

// Reads a whole file while denying other programs write access to it. Missing: the file (or its folder)
// does not exist. Failed: it exists but cannot be opened or read, for example because another program holds
// it open for writing.
ReadResult ReadWholeDenyWrite(const std::string& path, std::string& contents);

// Reads a whole file with no sharing restriction.
ReadResult ReadWhole(const std::string& path, std::string& contents);

// Replaces the file's contents in one step: the new text goes to a temporary file in the same folder, which
// then takes the old file's place. Fails, leaving the old file as it was, when the file is held open by
// another program or the new file cannot be written.
bool ReplaceWhole(const std::string& path, const std::string& contents);

bool Exists(const std::string& path);

}  // namespace korval::fileio
