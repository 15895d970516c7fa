#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>

#include "fileio.h"

namespace korval::fileio {

std::size_t MaxPathLength() { return PATH_MAX - 1; }

namespace {
bool TooLong(const std::string& path) { return path.empty() || path.size() > MaxPathLength(); }
int Fd(std::intptr_t h) { return static_cast<int>(h); }

ReadResult ReadFd(int fd, std::string& contents) {
  std::string data;
  char buffer[65536];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return ReadResult::Failed;
    }
    if (n == 0) break;
    data.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  contents.swap(data);
  return ReadResult::Ok;
}
}  // namespace

File File::Open(const std::string& path, Access access) {
  if (TooLong(path)) return File();
  int fd = ::open(path.c_str(), access == Access::ReadOnly ? O_RDONLY : O_RDWR);
  if (fd < 0) return File();
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return File();
  }
  return File(fd);
}

File::~File() { Close(); }
File::File(File&& other) noexcept : handle_(other.handle_) { other.handle_ = -1; }
File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = other.handle_;
    other.handle_ = -1;
  }
  return *this;
}
bool File::IsOpen() const { return handle_ >= 0; }

std::size_t File::Read(void* buffer, std::size_t count) {
  if (!IsOpen()) return 0;
  std::size_t done = 0;
  while (done < count) {
    ssize_t n = ::read(Fd(handle_), static_cast<char*>(buffer) + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

std::size_t File::Write(const void* buffer, std::size_t count) {
  if (!IsOpen()) return 0;
  std::size_t done = 0;
  while (done < count) {
    ssize_t n = ::write(Fd(handle_), static_cast<const char*>(buffer) + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

bool File::SeekToStart() { return IsOpen() && ::lseek(Fd(handle_), 0, SEEK_SET) == 0; }

void File::Close() {
  if (IsOpen()) ::close(Fd(handle_));
  handle_ = -1;
}

ReadResult ReadWhole(const std::string& path, std::string& contents) {
  if (TooLong(path)) return ReadResult::Missing;
  int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return (errno == ENOENT || errno == ENOTDIR) ? ReadResult::Missing : ReadResult::Failed;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return ReadResult::Failed;
  }
  return ReadFd(fd, contents);
}

// POSIX has no sharing modes: denying write access is a Windows behaviour.
ReadResult ReadWholeDenyWrite(const std::string& path, std::string& contents) { return ReadWhole(path, contents); }

bool ReplaceWhole(const std::string& path, const std::string& contents) {
  const std::string temp = path + ".new";
  if (TooLong(path) || TooLong(temp)) return false;
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return false;
  std::size_t done = 0;
  while (done < contents.size()) {
    ssize_t n = ::write(fd, contents.data() + done, contents.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  bool ok = done == contents.size() && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  if (ok) ok = ::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

bool Exists(const std::string& path) {
  struct stat st;
  return !TooLong(path) && ::stat(path.c_str(), &st) == 0;
}

}  // namespace korval::fileio
