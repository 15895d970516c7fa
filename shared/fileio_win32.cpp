#include <windows.h>

#include <cstdint>

#include "fileio.h"

namespace korval::fileio {

std::size_t MaxPathLength() { return MAX_PATH - 1; }

namespace {
bool TooLong(const std::string& path) { return path.empty() || path.size() > MaxPathLength(); }
HANDLE H(std::intptr_t h) { return reinterpret_cast<HANDLE>(h); }

bool IsMissingError(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME ||
         error == ERROR_BAD_NETPATH || error == ERROR_INVALID_DRIVE;
}

ReadResult ReadWithShare(const std::string& path, DWORD share, std::string& contents) {
  if (TooLong(path)) return ReadResult::Missing;
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return IsMissingError(GetLastError()) ? ReadResult::Missing : ReadResult::Failed;
  std::string data;
  char buffer[65536];
  bool ok = true;
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(h, buffer, sizeof buffer, &got, nullptr)) {
      ok = false;
      break;
    }
    if (got == 0) break;
    data.append(buffer, got);
  }
  CloseHandle(h);
  if (!ok) return ReadResult::Failed;
  contents.swap(data);
  return ReadResult::Ok;
}
}  // namespace

File File::Open(const std::string& path, Access access) {
  if (TooLong(path)) return File();
  DWORD rights = access == Access::ReadOnly ? GENERIC_READ : (GENERIC_READ | GENERIC_WRITE);
  HANDLE h = CreateFileA(path.c_str(), rights, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return File();
  return File(reinterpret_cast<std::intptr_t>(h));
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
bool File::IsOpen() const { return handle_ != -1; }

std::size_t File::Read(void* buffer, std::size_t count) {
  if (!IsOpen()) return 0;
  DWORD got = 0;
  if (!ReadFile(H(handle_), buffer, static_cast<DWORD>(count), &got, nullptr)) return 0;
  return got;
}

std::size_t File::Write(const void* buffer, std::size_t count) {
  if (!IsOpen()) return 0;
  DWORD put = 0;
  if (!WriteFile(H(handle_), buffer, static_cast<DWORD>(count), &put, nullptr)) return 0;
  return put;
}

bool File::SeekToStart() { return IsOpen() && SetFilePointer(H(handle_), 0, nullptr, FILE_BEGIN) == 0; }

void File::Close() {
  if (IsOpen()) CloseHandle(H(handle_));
  handle_ = -1;
}

ReadResult ReadWhole(const std::string& path, std::string& contents) {
  return ReadWithShare(path, FILE_SHARE_READ | FILE_SHARE_WRITE, contents);
}

ReadResult ReadWholeDenyWrite(const std::string& path, std::string& contents) {
  return ReadWithShare(path, FILE_SHARE_READ, contents);
}

bool ReplaceWhole(const std::string& path, const std::string& contents) {
  const std::string temp = path + ".new";
  if (TooLong(path) || TooLong(temp)) return false;
  // The old file must be ours to replace: held open by another program, the update fails and the file stays.
  HANDLE probe = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (probe == INVALID_HANDLE_VALUE) {
    if (GetLastError() != ERROR_FILE_NOT_FOUND) return false;
  } else {
    CloseHandle(probe);
  }
  HANDLE h = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD put = 0;
  bool ok = WriteFile(h, contents.data(), static_cast<DWORD>(contents.size()), &put, nullptr) &&
            put == contents.size() && FlushFileBuffers(h);
  CloseHandle(h);
  if (ok) ok = MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  if (!ok) DeleteFileA(temp.c_str());
  return ok;
}

bool Exists(const std::string& path) {
  return !TooLong(path) && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace korval::fileio
