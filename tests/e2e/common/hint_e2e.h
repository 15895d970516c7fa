#pragma once
// A program's hint as a user sees it: the pointer rests on a control, the hint window comes up, and its
// pixels are those of the system's own tool tips: the hint's text in the system's status and tool-tip font
// realised in the character set of the system's code page (the text's bytes read as that code page), on the
// tool-tip colours, with all of the text inside the window.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>

#include "bitmap.h"
#include "e2e.h"
#include "probe.h"
#include "shown.h"

namespace korval::e2e {

// Puts the real pointer over a point of `window`'s client area and waits for the hint window of process
// `pid`.
inline HWND HintAt(HWND window, DWORD pid, int x, int y) {
  POINT p{x, y};
  ClientToScreen(window, &p);
  SetCursorPos(p.x, p.y);
  PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  HWND hint = nullptr;
  WaitFor(
      [&] {
        hint = FindWindowOfProcess("KorvalHint", pid);
        return hint && IsWindowVisible(hint);
      },
      5000);
  if (!hint || !IsWindowVisible(hint)) return nullptr;
  forms::Bitmap painted;
  PictureSettles([&] { return probe::CaptureClient(hint); }, painted, 3000);
  return hint;
}

// The pointer goes away from every control (to the screen's corner), and the hint with it.
inline void PointerAway(HWND window) {
  SetCursorPos(0, 0);
  PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(0, 0));
}

// `text` (in the system's code page) as a tool tip of the system draws it, 3 pixels from the left and 1 from
// the top of a `width` x `height` picture, on a canvas wide and high enough for all of it.
inline forms::Bitmap ToolTipPicture(const std::string& text, int width, int height) {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  LOGFONTA logfont = metrics.lfStatusFont;
  CHARSETINFO charset{};
  const UINT_PTR codePage = GetACP();
  if (TranslateCharsetInfo(reinterpret_cast<DWORD*>(codePage), &charset, TCI_SRCCODEPAGE))
    logfont.lfCharSet = static_cast<BYTE>(charset.ciCharset);
  HFONT font = CreateFontIndirectA(&logfont);
  const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);

  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  ReleaseDC(nullptr, screen);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  HGDIOBJ oldFont = SelectObject(dc, font);
  RECT all{0, 0, width, height};
  HBRUSH paper = CreateSolidBrush(GetSysColor(COLOR_INFOBK));
  FillRect(dc, &all, paper);
  DeleteObject(paper);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
  RECT r{3, 1, width, height};
  DrawTextW(dc, wide.c_str(), n, &r, DT_LEFT | DT_NOPREFIX);
  forms::Bitmap picture(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const COLORREF c = GetPixel(dc, x, y);
      picture.SetPixel(x, y, forms::Rgb(GetRValue(c), GetGValue(c), GetBValue(c)));
    }
  SelectObject(dc, oldFont);
  SelectObject(dc, oldBitmap);
  DeleteObject(bitmap);
  DeleteObject(font);
  DeleteDC(dc);
  return picture;
}

// The hint window shows `text` whole, in the system's tool-tip look: its client area is the tool tip's
// picture of the text, and no glyph of that picture lies in the last column or row of the client area or
// beyond it (2 pixels of margin or more from the border on the right, 1 at the bottom).
inline void ExpectToolTipShows(HWND hint, const std::string& text, const std::string& shot = "") {
  ASSERT_NE(hint, nullptr) << "no hint for " << text;
  const forms::Bitmap shown = probe::CaptureClient(hint);
  if (!shot.empty()) probe::SaveFile(shot, probe::EncodePng(shown));
  const int width = shown.Width(), height = shown.Height();
  const forms::Bitmap wide = ToolTipPicture(text, width + 64, height + 16);
  const forms::Color paper = wide.Pixel(0, 0);
  int inkRight = -1, inkBottom = -1;
  for (int y = 0; y < wide.Height(); ++y)
    for (int x = 0; x < wide.Width(); ++x)
      if (!(wide.Pixel(x, y) == paper)) {
        inkRight = std::max(inkRight, x);
        inkBottom = std::max(inkBottom, y);
      }
  EXPECT_GE(inkRight, 0) << text << ": the tool-tip font paints nothing";
  EXPECT_LT(inkRight, width - 2) << text << ": its last glyph ends at column " << inkRight << " of " << width;
  EXPECT_LT(inkBottom, height - 1) << text << ": its glyphs end at row " << inkBottom << " of " << height;
  EXPECT_EQ(probe::DifferentShare(shown, probe::Crop(wide, 0, 0, width, height)), 0.0)
      << text << ": the hint's pixels are not the text in the system's tool-tip font";
}

}  // namespace korval::e2e
