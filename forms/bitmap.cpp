#include "bitmap.h"

#include <cstdlib>

#include "jpeg.h"

namespace korval::forms {

namespace {

std::uint32_t Pack(Color c) { return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b; }
Color Unpack(std::uint32_t v) {
  return Color{static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8),
               static_cast<std::uint8_t>(v)};
}

std::uint32_t Le32(std::string_view s, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<std::uint8_t>(s[at])) |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(s[at + 1])) << 8 |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(s[at + 2])) << 16 |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(s[at + 3])) << 24;
}
std::uint16_t Le16(std::string_view s, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<std::uint8_t>(s[at]) | static_cast<std::uint8_t>(s[at + 1])
                                                                           << 8);
}
void Put32(std::string& s, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void Put16(std::string& s, std::uint16_t v) {
  s.push_back(static_cast<char>(v & 0xFF));
  s.push_back(static_cast<char>(v >> 8));
}

}  // namespace

Bitmap::Bitmap(int width, int height, Color fill) {
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return;
  width_ = width;
  height_ = height;
  pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), Pack(fill));
}

Color Bitmap::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return Color{};
  return Unpack(
      pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)]);
}

void Bitmap::SetPixel(int x, int y, Color c) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)] =
      Pack(c);
}

void Canvas::Stamp(int x, int y) {
  // A pen of width w covers w pixels across the ideal line, centred on it (the extra pixel of an even width
  // going up and to the left).
  const int from = -(penWidth_ / 2), to = (penWidth_ - 1) / 2;
  for (int dy = from; dy <= to; ++dy)
    for (int dx = from; dx <= to; ++dx) target_.SetPixel(x + dx, y + dy, pen_);
}

void Canvas::LineTo(int x, int y) {
  int x0 = x_, y0 = y_;
  const int dx = std::abs(x - x0), sx = x0 < x ? 1 : -1;
  const int dy = -std::abs(y - y0), sy = y0 < y ? 1 : -1;
  int err = dx + dy;
  for (;;) {
    Stamp(x0, y0);
    if (x0 == x && y0 == y) break;
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
  x_ = x;
  y_ = y;
}

void Canvas::Ellipse(int left, int top, int right, int bottom) {
  if (right <= left || bottom <= top) return;
  const double cx = (left + right) / 2.0, cy = (top + bottom) / 2.0;
  const double rx = (right - left) / 2.0, ry = (bottom - top) / 2.0;
  // The outline is centred on the ellipse's edge: half the pen lies outside it.
  const double grow = (penWidth_ - 1) / 2.0;
  const double ox = rx + grow, oy = ry + grow;
  const double ix = rx - grow - 0.5, iy = ry - grow - 0.5;
  for (int y = top - penWidth_; y < bottom + penWidth_; ++y) {
    for (int x = left - penWidth_; x < right + penWidth_; ++x) {
      const double px = x + 0.5 - cx, py = y + 0.5 - cy;
      const double outer = (px * px) / (ox * ox) + (py * py) / (oy * oy);
      if (outer > 1.0) continue;
      const bool inside = ix > 0 && iy > 0 && (px * px) / (ix * ix) + (py * py) / (iy * iy) <= 1.0;
      target_.SetPixel(x, y, inside ? brush_ : pen_);
    }
  }
}

void Canvas::FillRect(int left, int top, int right, int bottom, Color color) {
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) target_.SetPixel(x, y, color);
}

void Canvas::Draw(int x, int y, const Bitmap& source) {
  for (int sy = 0; sy < source.Height(); ++sy)
    for (int sx = 0; sx < source.Width(); ++sx) target_.SetPixel(x + sx, y + sy, source.Pixel(sx, sy));
}

std::optional<Bitmap> DecodeBmp(std::string_view s) {
  if (s.size() < 14 + 40 || s[0] != 'B' || s[1] != 'M') return std::nullopt;
  const std::uint32_t dataOffset = Le32(s, 10);
  const std::uint32_t headerSize = Le32(s, 14);
  if (headerSize < 40 || headerSize > s.size() - 14) return std::nullopt;
  const auto width = static_cast<std::int32_t>(Le32(s, 18));
  const auto rawHeight = static_cast<std::int32_t>(Le32(s, 22));
  const std::uint16_t bits = Le16(s, 28);
  const std::uint32_t compression = Le32(s, 30);
  std::uint32_t colours = Le32(s, 46);
  if (width <= 0 || width > Bitmap::kMaxSide || rawHeight == 0 || rawHeight < -Bitmap::kMaxSide ||
      rawHeight > Bitmap::kMaxSide)
    return std::nullopt;
  const bool topDown = rawHeight < 0;
  const int height = topDown ? -rawHeight : rawHeight;
  if (compression == 3) {  // bit fields: only the plain 8-8-8 layout of 32-bit pictures
    if (bits != 32) return std::nullopt;
    const std::size_t masks = headerSize >= 52 ? 14 + 40 : 14 + headerSize;
    if (masks + 12 > s.size()) return std::nullopt;
    if (Le32(s, masks) != 0xFF0000 || Le32(s, masks + 4) != 0xFF00 || Le32(s, masks + 8) != 0xFF)
      return std::nullopt;
  } else if (compression != 0) {
    return std::nullopt;
  }
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return std::nullopt;
  std::vector<Color> palette;
  if (bits <= 8) {
    const std::uint32_t most = 1u << bits;
    if (colours == 0 || colours > most) colours = most;
    const std::size_t at = 14 + headerSize;
    if (at + 4ull * colours > s.size()) return std::nullopt;
    for (std::uint32_t i = 0; i < colours; ++i)
      palette.push_back(Color{static_cast<std::uint8_t>(s[at + 4 * i + 2]),
                              static_cast<std::uint8_t>(s[at + 4 * i + 1]),
                              static_cast<std::uint8_t>(s[at + 4 * i])});
  }
  const std::size_t stride = ((static_cast<std::size_t>(width) * bits + 31) / 32) * 4;
  if (dataOffset > s.size() || stride * static_cast<std::size_t>(height) > s.size() - dataOffset)
    return std::nullopt;
  Bitmap out(width, height);
  for (int row = 0; row < height; ++row) {
    const std::size_t base = dataOffset + stride * static_cast<std::size_t>(row);
    const int y = topDown ? row : height - 1 - row;
    for (int x = 0; x < width; ++x) {
      Color c;
      if (bits == 24 || bits == 32) {
        const std::size_t p = base + static_cast<std::size_t>(x) * (bits / 8);
        c = Color{static_cast<std::uint8_t>(s[p + 2]), static_cast<std::uint8_t>(s[p + 1]),
                  static_cast<std::uint8_t>(s[p])};
      } else {
        const std::size_t bit = static_cast<std::size_t>(x) * bits;
        const auto byte = static_cast<std::uint8_t>(s[base + bit / 8]);
        const unsigned index = (byte >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
        c = index < palette.size() ? palette[index] : Color{};
      }
      out.SetPixel(x, y, c);
    }
  }
  return out;
}

std::string EncodeBmp(const Bitmap& bitmap) {
  const std::size_t stride = ((static_cast<std::size_t>(bitmap.Width()) * 3 + 3) / 4) * 4;
  const std::size_t size = 54 + stride * static_cast<std::size_t>(bitmap.Height());
  std::string s;
  s.reserve(size);
  s += "BM";
  Put32(s, static_cast<std::uint32_t>(size));
  Put32(s, 0);
  Put32(s, 54);
  Put32(s, 40);
  Put32(s, static_cast<std::uint32_t>(bitmap.Width()));
  Put32(s, static_cast<std::uint32_t>(bitmap.Height()));
  Put16(s, 1);
  Put16(s, 24);
  Put32(s, 0);
  Put32(s, static_cast<std::uint32_t>(stride * static_cast<std::size_t>(bitmap.Height())));
  Put32(s, 2835);
  Put32(s, 2835);
  Put32(s, 0);
  Put32(s, 0);
  for (int y = bitmap.Height() - 1; y >= 0; --y) {
    std::size_t row = 0;
    for (int x = 0; x < bitmap.Width(); ++x, row += 3) {
      const Color c = bitmap.Pixel(x, y);
      s.push_back(static_cast<char>(c.b));
      s.push_back(static_cast<char>(c.g));
      s.push_back(static_cast<char>(c.r));
    }
    for (; row < stride; ++row) s.push_back('\0');
  }
  return s;
}

std::optional<Bitmap> DecodePicture(std::string_view bytes) {
  if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') return DecodeBmp(bytes);
  if (bytes.size() >= 2 && static_cast<std::uint8_t>(bytes[0]) == 0xFF &&
      static_cast<std::uint8_t>(bytes[1]) == 0xD8) {
    JpegInfo info;
    return DecodeJpeg(bytes, &info);
  }
  return std::nullopt;
}

}  // namespace korval::forms
