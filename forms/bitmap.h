#pragma once
// Pictures as plain pixel buffers, the canvas that draws on them, and the picture file formats (BMP here,
// JPEG in jpeg.h). Pictures live in memory only, so a picture costs no window-system object.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korval::forms {

struct Color {
  std::uint8_t r = 0, g = 0, b = 0;
  friend constexpr bool operator==(Color a, Color b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
  friend constexpr bool operator!=(Color a, Color b) { return !(a == b); }
};
constexpr Color Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) { return Color{r, g, b}; }

// Width x height pixels, rows top-down; each pixel a 32-bit 0x00RRGGBB word (B, G, R, 0 in memory), the
// layout of a 32-bit top-down device-independent bitmap.
class Bitmap {
 public:
  static constexpr int kMaxSide = 8192;

  Bitmap() = default;
  Bitmap(int width, int height, Color fill = {});

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }
  // Outside the picture: black, and writes are dropped.
  Color Pixel(int x, int y) const;
  void SetPixel(int x, int y, Color c);
  const std::uint32_t* Data() const { return pixels_.data(); }

  friend bool operator==(const Bitmap& a, const Bitmap& b) {
    return a.width_ == b.width_ && a.height_ == b.height_ && a.pixels_ == b.pixels_;
  }
  friend bool operator!=(const Bitmap& a, const Bitmap& b) { return !(a == b); }

 private:
  int width_ = 0, height_ = 0;
  std::vector<std::uint32_t> pixels_;
};

// Drawing on a bitmap with the semantics of the window system's pen and brush where the programs use them.
class Canvas {
 public:
  explicit Canvas(Bitmap& target) : target_(target) {}
  void SetPen(Color color, int width) {
    pen_ = color;
    penWidth_ = width < 1 ? 1 : width;
  }
  void SetBrush(Color color) { brush_ = color; }
  void MoveTo(int x, int y) {
    x_ = x;
    y_ = y;
  }
  // A line from the current position to (x, y), both ends included, penWidth pixels thick.
  void LineTo(int x, int y);
  // The ellipse inside the box left <= x < right, top <= y < bottom, filled with the brush and outlined
  // with the pen.
  void Ellipse(int left, int top, int right, int bottom);
  void FillRect(int left, int top, int right, int bottom, Color color);
  // Copies `source` with its top left corner at (x, y).
  void Draw(int x, int y, const Bitmap& source);

 private:
  void Stamp(int x, int y);
  Bitmap& target_;
  Color pen_{}, brush_{255, 255, 255};
  int penWidth_ = 1;
  int x_ = 0, y_ = 0;
};

// A Windows bitmap file: 1, 4, 8, 24 or 32 bits a pixel, uncompressed (or 32-bit with the plain bit fields),
// bottom-up or top-down. Anything else, or a file that is cut short, gives nothing.
std::optional<Bitmap> DecodeBmp(std::string_view bytes);
// A 24-bit bottom-up Windows bitmap file.
std::string EncodeBmp(const Bitmap& bitmap);
// A picture file by its first bytes: a bitmap file or a JPEG file.
std::optional<Bitmap> DecodePicture(std::string_view bytes);

}  // namespace korval::forms
