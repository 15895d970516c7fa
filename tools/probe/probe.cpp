#include "probe.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>

namespace korval::probe {

namespace {

struct Walk {
  HWND top;
  std::vector<ChildWindow>* out;
};

BOOL CALLBACK OnChild(HWND hwnd, LPARAM param) {
  auto* walk = reinterpret_cast<Walk*>(param);
  ChildWindow c;
  c.hwnd = hwnd;
  char buf[512] = {};
  GetClassNameA(hwnd, buf, sizeof buf);
  c.className = buf;
  buf[0] = '\0';
  GetWindowTextA(hwnd, buf, sizeof buf);
  c.text = buf;
  RECT r;
  GetWindowRect(hwnd, &r);
  POINT tl{r.left, r.top}, br{r.right, r.bottom};
  ScreenToClient(walk->top, &tl);
  ScreenToClient(walk->top, &br);
  c.rect = RECT{tl.x, tl.y, br.x, br.y};
  c.visible = IsWindowVisible(hwnd) != FALSE;
  walk->out->push_back(c);
  return TRUE;
}

std::uint32_t Crc(const std::string& data, std::size_t from) {
  static std::uint32_t table[256];
  static bool ready = false;
  if (!ready) {
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[n] = c;
    }
    ready = true;
  }
  std::uint32_t c = 0xFFFFFFFFu;
  for (std::size_t i = from; i < data.size(); ++i)
    c = table[(c ^ static_cast<std::uint8_t>(data[i])) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

void Be32(std::string& s, std::uint32_t v) {
  for (int i = 3; i >= 0; --i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void Chunk(std::string& png, const char* type, const std::string& data) {
  Be32(png, static_cast<std::uint32_t>(data.size()));
  const std::size_t start = png.size();
  png += type;
  png += data;
  Be32(png, Crc(png, start));
}

}  // namespace

std::vector<ChildWindow> ChildWindows(HWND topLevel) {
  std::vector<ChildWindow> out;
  Walk walk{topLevel, &out};
  EnumChildWindows(topLevel, OnChild, reinterpret_cast<LPARAM>(&walk));
  return out;
}

HWND FocusedWindow(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  const DWORD thread = GetWindowThreadProcessId(window, nullptr);
  return thread && GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

const ChildWindow* ChildAt(const std::vector<ChildWindow>& children, int left, int top, int width,
                           int height) {
  for (const ChildWindow& c : children)
    if (c.rect.left == left && c.rect.top == top && c.rect.right == left + width &&
        c.rect.bottom == top + height)
      return &c;
  return nullptr;
}

void TypeKey(WORD key, std::initializer_list<WORD> held) {
  std::vector<INPUT> input;
  auto add = [&](WORD vk, bool up) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = vk;
    i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    input.push_back(i);
  };
  for (WORD m : held) add(m, false);
  add(key, false);
  add(key, true);
  for (auto m = std::rbegin(held); m != std::rend(held); ++m) add(*m, true);
  SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

bool ChooseMenuItem(HWND window, int menu, int item) {
  SetForegroundWindow(window);
  bool front = false;
  for (int i = 0; i < 100 && !(front = GetForegroundWindow() == window); ++i) Sleep(20);
  if (!front) return false;
  // One key at a time: each step opens or moves a menu that the next key must find in place.
  auto step = [](WORD key) {
    TypeKey(key);
    Sleep(80);
  };
  step(VK_F10);
  for (int i = 0; i < menu; ++i) step(VK_RIGHT);
  step(VK_DOWN);
  for (int i = 0; i < item; ++i) step(VK_DOWN);
  step(VK_RETURN);
  return true;
}

forms::Bitmap CaptureClient(HWND window) {
  RECT r;
  if (!GetClientRect(window, &r) || r.right <= 0 || r.bottom <= 0) return forms::Bitmap();
  const int width = r.right, height = r.bottom;
  HDC screen = GetDC(window);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  forms::Bitmap out;
  if (dib && bits) {
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    out = forms::Bitmap(width, height);
    const auto* p = static_cast<const std::uint32_t*>(bits);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        const std::uint32_t v =
            p[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
        out.SetPixel(x, y,
                     forms::Rgb(static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8),
                                static_cast<std::uint8_t>(v)));
      }
    SelectObject(mem, old);
  }
  if (dib) DeleteObject(dib);
  DeleteDC(mem);
  ReleaseDC(window, screen);
  return out;
}

forms::Bitmap Crop(const forms::Bitmap& picture, int left, int top, int width, int height) {
  forms::Bitmap out(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) out.SetPixel(x, y, picture.Pixel(left + x, top + y));
  return out;
}

double DifferentShare(const forms::Bitmap& a, const forms::Bitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height() || a.Empty()) return 1.0;
  long differ = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) differ += a.Pixel(x, y) != b.Pixel(x, y);
  return static_cast<double>(differ) / (static_cast<double>(a.Width()) * a.Height());
}

std::string EncodePng(const forms::Bitmap& picture) {
  std::string png = "\x89PNG\r\n\x1a\n";
  std::string header;
  Be32(header, static_cast<std::uint32_t>(picture.Width()));
  Be32(header, static_cast<std::uint32_t>(picture.Height()));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter choice, no interlace
  Chunk(png, "IHDR", header);
  std::string raw;
  for (int y = 0; y < picture.Height(); ++y) {
    raw.push_back('\0');
    for (int x = 0; x < picture.Width(); ++x) {
      const forms::Color c = picture.Pixel(x, y);
      raw.push_back(static_cast<char>(c.r));
      raw.push_back(static_cast<char>(c.g));
      raw.push_back(static_cast<char>(c.b));
    }
  }
  // A zlib stream of stored blocks, with its Adler-32 check.
  std::string z = "\x78\x01";
  for (std::size_t at = 0; at < raw.size() || at == 0; at += 65535) {
    const std::size_t n = std::min<std::size_t>(65535, raw.size() - at);
    const bool last = at + n >= raw.size();
    z.push_back(last ? '\x01' : '\x00');
    z.push_back(static_cast<char>(n & 0xFF));
    z.push_back(static_cast<char>(n >> 8));
    z.push_back(static_cast<char>(~n & 0xFF));
    z.push_back(static_cast<char>((~n >> 8) & 0xFF));
    z.append(raw, at, n);
    if (last) break;
  }
  std::uint32_t a = 1, b = 0;
  for (char ch : raw) {
    a = (a + static_cast<std::uint8_t>(ch)) % 65521;
    b = (b + a) % 65521;
  }
  Be32(z, (b << 16) | a);
  Chunk(png, "IDAT", z);
  Chunk(png, "IEND", "");
  return png;
}

bool SaveFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace korval::probe
