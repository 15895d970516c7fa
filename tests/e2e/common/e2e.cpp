#include "e2e.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

#include "language.h"

namespace korval::e2e {

Process Process::Start(const std::string& commandLine, const std::string& workDir) {
  Process p;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::vector<char> cmd(commandLine.begin(), commandLine.end());
  cmd.push_back('\0');
  if (CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                     workDir.empty() ? nullptr : workDir.c_str(), &si, &pi)) {
    CloseHandle(pi.hThread);
    p.process_ = pi.hProcess;
    p.id_ = pi.dwProcessId;
  }
  return p;
}

Process::~Process() {
  Kill();
  if (process_) CloseHandle(process_);
}

Process::Process(Process&& other) noexcept : process_(other.process_), id_(other.id_) {
  other.process_ = nullptr;
  other.id_ = 0;
}

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    Kill();
    if (process_) CloseHandle(process_);
    process_ = other.process_;
    id_ = other.id_;
    other.process_ = nullptr;
    other.id_ = 0;
  }
  return *this;
}

bool Process::Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

bool Process::WaitExit(DWORD ms, DWORD* exitCode) {
  if (!process_ || WaitForSingleObject(process_, ms) != WAIT_OBJECT_0) return false;
  if (exitCode) GetExitCodeProcess(process_, exitCode);
  return true;
}

void Process::Kill() {
  if (Running()) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 5000);
  }
}

bool WaitFor(const std::function<bool()>& done, DWORD ms) {
  DWORD start = GetTickCount();
  for (;;) {
    if (done()) return true;
    if (GetTickCount() - start >= ms) return false;
    Sleep(20);
  }
}

HWND WaitForWindow(const char* className, const char* title, DWORD ms) {
  HWND found = nullptr;
  WaitFor([&] { return (found = FindWindowA(className, title)) != nullptr; }, ms);
  return found;
}

namespace {
struct ProcessSearch {
  const char* className;
  DWORD pid;
  HWND found;
};
BOOL CALLBACK MatchProcessWindow(HWND hwnd, LPARAM param) {
  auto* s = reinterpret_cast<ProcessSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  char cls[256] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  if (pid == s->pid && lstrcmpA(cls, s->className) == 0) {
    s->found = hwnd;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

HWND FindWindowOfProcess(const char* className, DWORD pid) {
  ProcessSearch s{className, pid, nullptr};
  EnumWindows(MatchProcessWindow, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Quote(const std::string& path) {
  return path.find(' ') == std::string::npos ? path : "\"" + path + "\"";
}

unsigned LanguageCodePage(int index) {
  return index >= 0 && index < kLanguageCount ? kLanguages[index].codePage : 0;
}

TextWidth MeasureText(const char* face, int height, bool bold, const std::string& text) {
  const TextInk ink = InkOf(face, height, bold, text);
  TextWidth width;
  width.advance = ink.advance;
  if (!ink.pixels.empty()) {
    width.inkLeft = ink.left;
    width.ink = ink.left + ink.width;
  }
  return width;
}

TextInk InkOf(const char* face, int height, bool bold, const std::string& text) {
  TextInk ink;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HFONT font = CreateFontA(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                           DEFAULT_PITCH | FF_DONTCARE, face);
  HGDIOBJ oldFont = SelectObject(dc, font);
  // A character that the font and the fonts linked to it have no glyph for shows as the box that an
  // unassigned code point shows.
  auto drawn = [&](const WCHAR* chars, int count) {
    const int side = 4 * height;
    HBITMAP cell = CreateCompatibleBitmap(screen, side, side);
    HGDIOBJ old = SelectObject(dc, cell);
    PatBlt(dc, 0, 0, side, side, WHITENESS);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    TextOutW(dc, height, height, chars, count);
    std::vector<bool> pixels;
    for (int y = 0; y < side; ++y)
      for (int x = 0; x < side; ++x) pixels.push_back(GetPixel(dc, x, y) != RGB(255, 255, 255));
    SelectObject(dc, old);
    DeleteObject(cell);
    return pixels;
  };
  const WCHAR unassigned = 0x0378;
  const std::vector<bool> box = drawn(&unassigned, 1);
  std::vector<WCHAR> wide(text.size() + 1);
  const int count = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                        static_cast<int>(wide.size()));
  for (int i = 0; i < count; ++i) {
    if (wide[static_cast<std::size_t>(i)] == L' ') continue;
    const std::vector<bool> one = drawn(&wide[static_cast<std::size_t>(i)], 1);
    if (one == box || std::find(one.begin(), one.end(), true) == one.end()) ++ink.missingGlyphs;
  }
  SIZE size{};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  ink.advance = size.cx;
  // Black on white with a margin all round for glyphs that paint beyond their cell.
  const int margin = 2 * height, w = size.cx + 2 * margin, h = size.cy + 2 * margin;
  HBITMAP picture = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ oldPicture = SelectObject(dc, picture);
  PatBlt(dc, 0, 0, w, h, WHITENESS);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  TextOutA(dc, margin, margin, text.c_str(), static_cast<int>(text.size()));
  RECT bounds{w, h, 0, 0};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (GetPixel(dc, x, y) != RGB(255, 255, 255)) {
        ink.pixels.push_back(POINT{x, y});
        bounds = RECT{std::min<LONG>(bounds.left, x), std::min<LONG>(bounds.top, y),
                      std::max<LONG>(bounds.right, x + 1), std::max<LONG>(bounds.bottom, y + 1)};
      }
  for (POINT& p : ink.pixels) p = POINT{p.x - bounds.left, p.y - bounds.top};
  if (!ink.pixels.empty()) {
    ink.left = bounds.left - margin;
    ink.width = bounds.right - bounds.left;
    ink.height = bounds.bottom - bounds.top;
  }
  SelectObject(dc, oldPicture);
  DeleteObject(picture);
  SelectObject(dc, oldFont);
  DeleteObject(font);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return ink;
}

bool ShowsWhole(const TextInk& ink, int width, int height,
                const std::function<bool(int x, int y)>& textColoured) {
  for (int top = 0; top + ink.height <= height; ++top)
    for (int left = 0; left + ink.width <= width; ++left) {
      bool all = true;
      for (const POINT& p : ink.pixels)
        if (!textColoured(left + p.x, top + p.y)) {
          all = false;
          break;
        }
      if (all) return true;
    }
  return false;
}

}  // namespace korval::e2e
