#pragma once
// GDI helpers of the Win32 backend: colours and rectangles in GDI's terms, an object selected for one scope,
// an owning handle, and the caches of the fonts and brushes that the backend paints with.
#include <windows.h>

#include <cstddef>
#include <map>
#include <string>
#include <tuple>
#include <utility>

#include "bitmap.h"
#include "controls.h"

namespace korval::forms::win32 {

inline COLORREF Ref(Color c) { return RGB(c.r, c.g, c.b); }
inline RECT ToRect(const Rect& r) { return RECT{r.left, r.top, r.Right(), r.Bottom()}; }

// Selects an object into a DC for one scope.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
  ~Selected() { SelectObject(dc_, old_); }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A GDI object (font, brush, bitmap) that is deleted with its owner. It must not be selected into a DC then.
template <class Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle h) : h_(h) {}
  ~GdiObject() { reset(); }
  GdiObject(GdiObject&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  GdiObject& operator=(GdiObject&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, nullptr));
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  Handle get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  void reset(Handle h = nullptr) {
    if (h_) DeleteObject(h_);
    h_ = h;
  }

 private:
  Handle h_ = nullptr;
};

// One font for each face, height and weight, made at its first use and kept.
class FontCache {
 public:
  HFONT For(const Font& font);
  std::size_t Size() const { return fonts_.size(); }

 private:
  std::map<std::tuple<std::string, int, bool>, GdiObject<HFONT>> fonts_;
};

// One solid brush for each colour, made at its first use and kept.
class BrushCache {
 public:
  HBRUSH For(Color c);
  std::size_t Size() const { return brushes_.size(); }

 private:
  std::map<COLORREF, GdiObject<HBRUSH>> brushes_;
};

// Fills `r` with the cached brush of `c`.
void Fill(BrushCache& brushes, HDC dc, const RECT& r, Color c);

}  // namespace korval::forms::win32
