#include "win32/gdi.h"

namespace korval::forms::win32 {

HFONT FontCache::For(const Font& font) {
  const auto key = std::make_tuple(font.name, font.height, font.bold);
  auto it = fonts_.find(key);
  if (it != fonts_.end()) return it->second.get();
  HFONT f = CreateFontA(-font.height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                        DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                        DEFAULT_PITCH | FF_DONTCARE, font.name.c_str());
  fonts_.emplace(key, GdiObject<HFONT>(f));
  return f;
}

HBRUSH BrushCache::For(Color c) {
  const COLORREF key = Ref(c);
  auto it = brushes_.find(key);
  if (it != brushes_.end()) return it->second.get();
  HBRUSH b = CreateSolidBrush(key);
  brushes_.emplace(key, GdiObject<HBRUSH>(b));
  return b;
}

void Fill(BrushCache& brushes, HDC dc, const RECT& r, Color c) { FillRect(dc, &r, brushes.For(c)); }

}  // namespace korval::forms::win32
