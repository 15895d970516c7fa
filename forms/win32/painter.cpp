// The painter: the whole tree of a window into the back buffer (panels, static texts, labels, images,
// picture buttons), and the changes of a handler painted together in one go.
#include <algorithm>

#include "application.h"
#include "win32/gdi.h"
#include "win32/names.h"
#include "win32/peer.h"

namespace korval::forms {

using namespace win32;

namespace {

UINT AlignFlag(Alignment a) {
  switch (a) {
    case Alignment::Center:
      return DT_CENTER;
    case Alignment::Right:
      return DT_RIGHT;
    case Alignment::Left:
      break;
  }
  return DT_LEFT;
}

// The header of `rows` rows of a picture's pixels as a 32-bit top-down bitmap.
BITMAPINFO DibHeader(const Bitmap& bitmap, int rows) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = bitmap.Width();
  bi.bmiHeader.biHeight = -rows;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  return bi;
}

}  // namespace

bool Win32Backend::OnlyInPlaceIn(const WinControl& parent, int dx, int dy, const RECT& r) {
  for (const Control* c : parent.Children()) {
    if (!c->IsWindowed() || !c->Visible()) continue;
    const auto& child = static_cast<const WinControl&>(*c);
    const RECT at{dx + child.Left(), dy + child.Top(), dx + child.Bounds().Right(),
                  dy + child.Bounds().Bottom()};
    RECT both;
    if (!IntersectRect(&both, &at, &r)) continue;
    if (!Peer::Of(child).PaintedInPlace() || !OnlyInPlaceIn(child, at.left, at.top, both)) return false;
  }
  return true;
}

// Changes made while a handler runs (a tick sets a clock, readouts, needles) are painted together once it is
// done, into one picture of the form that goes to the screen in one piece for each changed part: far less
// work for the window system than a paint of every window that changed. Only parts that hold nothing but
// our own painting qualify; false leaves the part to the window's own paint.
bool Win32Backend::QueuePaint(const WinControl& parent, const Rect& area) {
  Form& form = parent.OwnerForm();
  auto* fw = static_cast<Window*>(form.handle);
  if (!fw || !fw->hwnd || !IsWindowVisible(fw->hwnd) || IsIconic(fw->hwnd)) return false;
  const Rect at = parent.BoundsInForm();
  RECT r{at.left + area.left, at.top + area.top, at.left + area.Right(), at.top + area.Bottom()};
  const RECT client{0, 0, form.Width(), form.Height()};
  if (!IntersectRect(&r, &r, &client)) return true;  // nothing of it shows
  if (!OnlyInPlaceIn(form, 0, 0, r)) return false;
  // Overlapping parts become one.
  for (auto it = fw->changed.begin(); it != fw->changed.end();) {
    RECT both;
    if (IntersectRect(&both, &*it, &r)) {
      UnionRect(&r, &r, &*it);
      it = fw->changed.erase(it);
    } else {
      ++it;
    }
  }
  fw->changed.push_back(r);
  if (holdingPaints_ > 0) {  // painted when the timer's handler is done
    if (std::find(waiting_.begin(), waiting_.end(), &form) == waiting_.end()) waiting_.push_back(&form);
    return true;
  }
  if (!fw->changesPosted) fw->changesPosted = PostMessageA(fw->hwnd, kPaintChanges, 0, 0) != 0;
  return fw->changesPosted;
}

void Win32Backend::PaintWaitingChanges() {
  std::vector<Form*> forms;
  forms.swap(waiting_);
  for (Form* f : forms)
    if (auto* w = static_cast<Window*>(f->handle); w && w->hwnd) PaintChanges(*f, *w);
}

void Win32Backend::PaintChanges(Form& form, Window& w) {
  w.changesPosted = false;
  std::vector<RECT> changed;
  changed.swap(w.changed);
  if (changed.empty() || !IsWindowVisible(w.hwnd)) return;
  // Not clipped to the child windows: their part of the picture is painted here too.
  HDC dc = GetDCEx(w.hwnd, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
  if (!dc) {
    for (const RECT& r : changed) RedrawWindow(w.hwnd, &r, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    return;
  }
  for (const RECT& r : changed) {
    // Painted at the buffer's corner, as in PaintClient.
    const int width = r.right - r.left, height = r.bottom - r.top;
    HDC back = BackBuffer(width, height);
    clip_ = RECT{0, 0, width, height};
    const int saved = SaveDC(back);
    IntersectClipRect(back, 0, 0, width, height);
    PaintTree(form, back, -r.left, -r.top);
    RestoreDC(back, saved);
    BitBlt(dc, r.left, r.top, width, height, back, 0, 0, SRCCOPY);
  }
  ReleaseDC(w.hwnd, dc);
  TrimBackBuffer();
}

// A window's picture and then, above it in their order, those of its child windows, each within its bounds.
// A child panel that covers all of the part hides everything beneath it (a readout on its dial): painting
// starts with the topmost such panel.
void Win32Backend::PaintTree(WinControl& control, HDC dc, int dx, int dy) {
  const std::vector<Control*>& children = control.Children();
  std::size_t first = 0;
  bool covered = false;
  for (std::size_t i = children.size(); i-- > 0 && !covered;) {
    const Control* c = children[i];
    if (!c->Visible() || !c->IsWindowed() || !Peer::Of(static_cast<const WinControl&>(*c)).HidesBeneath())
      continue;
    const Rect& b = c->Bounds();
    if (dx + b.left <= clip_.left && dy + b.top <= clip_.top && dx + b.Right() >= clip_.right &&
        dy + b.Bottom() >= clip_.bottom) {
      first = i;
      covered = true;
    }
  }
  if (!covered) PaintContent(control, dc, dx, dy);
  for (std::size_t i = first; i < children.size(); ++i) {
    Control* c = children[i];
    if (!c->IsWindowed() || !c->Visible()) continue;
    auto& child = static_cast<WinControl&>(*c);
    const RECT at{dx + child.Left(), dy + child.Top(), dx + child.Bounds().Right(),
                  dy + child.Bounds().Bottom()};
    RECT both;
    if (!IntersectRect(&both, &at, &clip_)) continue;
    const RECT outer = clip_;
    clip_ = both;
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, at.left, at.top, at.right, at.bottom);
    PaintTree(child, dc, at.left, at.top);
    RestoreDC(dc, saved);
    clip_ = outer;
  }
}

void Win32Backend::InvalidateGraphic(Control& control, const Rect& area) {
  WinControl* parent = control.Parent();
  HWND hwnd = parent ? WindowOf(*parent) : nullptr;
  if (!hwnd) return;
  RECT r = ToRect(area);
  InvalidateRect(hwnd, &r, FALSE);
  // Static texts show their parent's paint beneath them: they repaint too where they overlap.
  for (Control* sibling : parent->Children()) {
    if (!sibling->IsWindowed() || !Peer::Of(static_cast<WinControl&>(*sibling)).ShowsParentBeneath())
      continue;
    RECT s = ToRect(sibling->Bounds()), both;
    if (IntersectRect(&both, &s, &r))
      InvalidateRect(WindowOf(static_cast<WinControl&>(*sibling)), nullptr, FALSE);
  }
}

HDC Win32Backend::BackBuffer(int width, int height) {
  if (!backDc_) {
    backDc_ = CreateCompatibleDC(nullptr);
  }
  if (width > backWidth_ || height > backHeight_) {
    HDC screen = GetDC(nullptr);
    HBITMAP bigger =
        CreateCompatibleBitmap(screen, std::max(width, backWidth_), std::max(height, backHeight_));
    ReleaseDC(nullptr, screen);
    if (backBitmap_)
      SelectObject(backDc_, bigger);
    else
      backOld_ = SelectObject(backDc_, bigger);
    backBitmap_.reset(bigger);
    backWidth_ = std::max(width, backWidth_);
    backHeight_ = std::max(height, backHeight_);
  }
  return backDc_;
}

// A back buffer as large as a whole window is memory held for the few paints that need it (the first one,
// a window uncovered): it goes once they are done, and the small one of the ticks' parts stays.
void Win32Backend::TrimBackBuffer() {
  constexpr int kKeptPixels = 200 * 200;
  if (!backBitmap_ || backWidth_ * backHeight_ <= kKeptPixels) return;
  SelectObject(backDc_, backOld_);
  backBitmap_.reset();
  backWidth_ = backHeight_ = 0;
}

void Win32Backend::PaintClient(WinControl& control, HDC dc, const RECT* area) {
  auto* w = static_cast<Window*>(control.handle);
  if (!w) return;
  const SIZE size = w->peer->PaintedSize(*w);
  const int width = size.cx, height = size.cy;
  if (width <= 0 || height <= 0) return;
  RECT all{0, 0, width, height}, part = all;
  if (area && !IntersectRect(&part, area, &all)) return;  // nothing of the window needs paint
  // The part is painted at the buffer's corner, so that the buffer need be no larger than the part; a window
  // that paints from its own corner takes a buffer of its size.
  const bool ownCorner = w->peer->PaintsFromOwnCorner();
  const int dx = ownCorner ? 0 : -part.left, dy = ownCorner ? 0 : -part.top;
  clip_ = RECT{part.left + dx, part.top + dy, part.right + dx, part.bottom + dy};
  HDC back = BackBuffer(clip_.right, clip_.bottom);
  const int saved = SaveDC(back);
  IntersectClipRect(back, clip_.left, clip_.top, clip_.right, clip_.bottom);
  // Room beyond the layout (a form made larger) shows the control's colour.
  if (width > control.Width() || height > control.Height()) Fill(back, clip_, control.GetColor());
  w->peer->Paint(*w, back, dx, dy);
  RestoreDC(back, saved);
  BitBlt(dc, part.left, part.top, part.right - part.left, part.bottom - part.top, back, clip_.left, clip_.top,
         SRCCOPY);
  TrimBackBuffer();
}

void Win32Backend::Fill(HDC dc, const RECT& r, Color c) { win32::Fill(brushes_, dc, r, c); }

void Win32Backend::PaintContent(WinControl& control, HDC dc, int dx, int dy) {
  if (auto* w = static_cast<Window*>(control.handle)) w->peer->Paint(*w, dc, dx, dy);
}

void Win32Backend::Peer::PanelPeer::Paint(Window& w, HDC dc, int dx, int dy) const {
  Win32Backend& b = *w.backend;
  const auto& panel = static_cast<const Panel&>(*w.control);
  RECT r{dx, dy, dx + panel.Width(), dy + panel.Height()};
  b.Fill(dc, r, panel.GetColor());
  const Color shadow = b.GetSystemColor(SystemColor::ButtonShadow);
  const Color light = b.GetSystemColor(SystemColor::ButtonHighlight);
  auto frame = [&](Color topLeft, Color bottomRight) {
    b.Fill(dc, RECT{r.left, r.top, r.right, r.top + 1}, topLeft);
    b.Fill(dc, RECT{r.left, r.top, r.left + 1, r.bottom}, topLeft);
    b.Fill(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
    b.Fill(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, bottomRight);
    InflateRect(&r, -1, -1);
  };
  if (panel.Border() == BorderStyle::Single) frame(Rgb(0, 0, 0), Rgb(0, 0, 0));
  auto bevel = [&](Bevel bevel) {
    if (bevel == Bevel::Lowered) frame(shadow, light);
    if (bevel == Bevel::Raised) frame(light, shadow);
  };
  bevel(panel.BevelOuter());
  bevel(panel.BevelInner());
  if (!panel.Caption().empty())
    b.PaintText(panel, dc, r, AlignFlag(panel.GetAlignment()) | DT_VCENTER | DT_SINGLELINE);
  b.PaintGraphics(*w.control, dc, dx, dy);
}

Win32Backend::Peer::Shape Win32Backend::Peer::StaticTextPeer::MakeShape(const WinControl&) const {
  return Shape{kStaticTextClass, WS_CLIPCHILDREN, 0};
}

void Win32Backend::Peer::StaticTextPeer::Paint(Window& w, HDC dc, int dx, int dy) const {
  Win32Backend& b = *w.backend;
  const auto& st = static_cast<const StaticText&>(*w.control);
  // What the parent shows beneath, then the text.
  if (WinControl* parent = st.Parent()) b.PaintContent(*parent, dc, dx - st.Left(), dy - st.Top());
  b.PaintText(st, dc, RECT{dx, dy, dx + st.Width(), dy + st.Height()},
              AlignFlag(st.GetAlignment()) | DT_WORDBREAK);
}

void Win32Backend::PaintText(const Control& c, HDC dc, RECT r, UINT format) {
  if (c.Caption().empty()) return;
  Selected f(dc, FontFor(c.Font()));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, Ref(c.Enabled() ? c.Font().color : GetSystemColor(SystemColor::ButtonShadow)));
  DrawTextA(dc, c.Caption().c_str(), static_cast<int>(c.Caption().size()), &r, format | DT_EXPANDTABS);
}

void Win32Backend::PaintGraphics(WinControl& parent, HDC dc, int dx, int dy) {
  for (Control* c : parent.Children()) {
    if (c->IsWindowed() || !c->Visible()) continue;
    const RECT r{dx + c->Left(), dy + c->Top(), dx + c->Left() + c->Width(), dy + c->Top() + c->Height()};
    RECT seen;
    if (!IntersectRect(&seen, &r, &clip_)) continue;  // outside the part being painted
    if (auto* label = dynamic_cast<Label*>(c))
      PaintLabel(*label, dc, r);
    else if (auto* image = dynamic_cast<Image*>(c))
      PaintImage(*image, dc, r);
  }
}

void Win32Backend::PaintLabel(const Label& label, HDC dc, const RECT& r) {
  if (!label.Transparent()) Fill(dc, r, label.GetColor());
  PaintText(label, dc, r, AlignFlag(label.GetAlignment()));
}

void Win32Backend::PaintImage(const Image& image, HDC dc, const RECT& r) {
  const Bitmap& p = image.Picture();
  if (p.Empty()) return;
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (image.Stretch() && (p.Width() != width || p.Height() != height)) {
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    BlitBitmap(dc, p, r.left, r.top, width, height);
    RestoreDC(dc, saved);
    return;
  }
  // One pixel for one: copy only the part that is inside the control and being painted.
  int x = r.left, y = r.top;
  if (image.Center() && !image.Stretch()) {
    x += (width - p.Width()) / 2;
    y += (height - p.Height()) / 2;
  }
  RECT picture{x, y, x + p.Width(), y + p.Height()}, inside, part;
  if (!IntersectRect(&inside, &picture, &r) || !IntersectRect(&part, &inside, &clip_)) return;
  BlitPart(dc, p, part.left, part.top, part.left - x, part.top - y, part.right - part.left,
           part.bottom - part.top);
}

void Win32Backend::BlitBitmap(HDC dc, const Bitmap& bitmap, int x, int y, int width, int height) {
  BITMAPINFO bi = DibHeader(bitmap, bitmap.Height());
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchDIBits(dc, x, y, width, height, 0, 0, bitmap.Width(), bitmap.Height(), bitmap.Data(), &bi,
                DIB_RGB_COLORS, SRCCOPY);
}

void Win32Backend::BlitPart(HDC dc, const Bitmap& bitmap, int x, int y, int srcX, int srcY, int width,
                            int height) {
  // A view of the rows srcY .. srcY + height as a bitmap of its own.
  BITMAPINFO bi = DibHeader(bitmap, height);
  const std::uint32_t* rows =
      bitmap.Data() + static_cast<std::size_t>(srcY) * static_cast<std::size_t>(bitmap.Width());
  StretchDIBits(dc, x, y, width, height, srcX, 0, width, height, rows, &bi, DIB_RGB_COLORS, SRCCOPY);
}

Win32Backend::Peer::Shape Win32Backend::Peer::BitButtonPeer::MakeShape(const WinControl&) const {
  return Shape{"BUTTON", BS_OWNERDRAW | WS_TABSTOP | WS_CLIPCHILDREN, 0};
}

void Win32Backend::Peer::BitButtonPeer::ValueChanged(Window& w) const {
  InvalidateRect(w.hwnd, nullptr, FALSE);
}

void Win32Backend::Peer::BitButtonPeer::DrawItem(Window& w, const DRAWITEMSTRUCT& dis) const {
  Win32Backend& b = *w.backend;
  const auto* button = static_cast<const BitBtn*>(w.control);
  const int width = dis.rcItem.right - dis.rcItem.left, height = dis.rcItem.bottom - dis.rcItem.top;
  if (width <= 0 || height <= 0) return;
  HDC back = b.BackBuffer(width, height);
  RECT r{0, 0, width, height};
  const Color face = b.GetSystemColor(SystemColor::ButtonFace);
  b.Fill(back, r, face);
  const bool pressed = (dis.itemState & ODS_SELECTED) != 0;
  if (button->Default()) {
    FrameRect(back, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    InflateRect(&r, -1, -1);
  }
  DrawEdge(back, &r, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  r = RECT{0, 0, width, height};
  // The focused button shows it inside its edges, as the system's buttons do (unless the system hides focus
  // cues until the keyboard is used).
  auto finish = [&] {
    if ((dis.itemState & ODS_FOCUS) && !(dis.itemState & ODS_NOFOCUSRECT)) {
      RECT f{4, 4, width - 4, height - 4};
      DrawFocusRect(back, &f);
    }
    BitBlt(dis.hDC, dis.rcItem.left, dis.rcItem.top, width, height, back, 0, 0, SRCCOPY);
  };
  // A strip of pictures: the first one normally, the second one while the button is disabled.
  Bitmap glyph = button->Glyph();
  if (button->NumGlyphs() > 1 && glyph.Width() >= button->NumGlyphs()) {
    const int partWidth = glyph.Width() / button->NumGlyphs();
    const int part = !button->Enabled() ? 1 : 0;
    Bitmap one(partWidth, glyph.Height());
    for (int y = 0; y < glyph.Height(); ++y)
      for (int x = 0; x < partWidth; ++x) one.SetPixel(x, y, glyph.Pixel(part * partWidth + x, y));
    glyph = one;
  }
  // The glyph's bottom left pixel names its transparent colour: the face shows there.
  if (!glyph.Empty()) {
    const Color clear = glyph.Pixel(0, glyph.Height() - 1);
    for (int y = 0; y < glyph.Height(); ++y)
      for (int x = 0; x < glyph.Width(); ++x)
        if (glyph.Pixel(x, y) == clear) glyph.SetPixel(x, y, face);
  }
  if (button->Layout() == GlyphLayout::Left) {
    // The picture, 4 pixels, the caption: the two together in the middle.
    const int gap = !glyph.Empty() && !button->Caption().empty() ? 4 : 0;
    const int textWidth =
        button->Caption().empty() ? 0 : b.MeasureText(button->Font(), button->Caption()).width;
    int x = (width - glyph.Width() - gap - textWidth) / 2, y = (height - glyph.Height()) / 2;
    if (pressed) {
      ++x;
      ++y;
    }
    if (!glyph.Empty()) b.BlitBitmap(back, glyph, x, y, glyph.Width(), glyph.Height());
    RECT text{x + glyph.Width() + gap, pressed ? 1 : 0, width, height + (pressed ? 1 : 0)};
    b.PaintText(*button, back, text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    finish();
    return;
  }
  if (!glyph.Empty()) {
    int x = (width - glyph.Width()) / 2;
    int y =
        button->Layout() == GlyphLayout::Bottom ? height - glyph.Height() - 2 : (height - glyph.Height()) / 2;
    if (pressed) {
      ++x;
      ++y;
    }
    b.BlitBitmap(back, glyph, x, y, glyph.Width(), glyph.Height());
  }
  if (!button->Caption().empty()) b.PaintText(*button, back, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  finish();
}

HFONT Win32Backend::FontFor(const Font& font) { return fonts_.For(font); }

}  // namespace korval::forms
