// Pictures: the canvas, bitmap files and JPEG files (progressive ones through the multi-scan decoder).
#include <gtest/gtest.h>
#include <jpeglib.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bitmap.h"
#include "jpeg.h"

namespace korval::forms {
namespace {

const Color kWhite = Rgb(255, 255, 255);

TEST(Canvas, WideLineCoversBothEndsAndHubFillsItsBox) {
  Bitmap b(20, 20, Rgb(0, 0, 0));
  Canvas c(b);
  c.SetPen(kWhite, 2);
  c.MoveTo(5, 5);
  c.LineTo(15, 5);
  for (int x = 5; x <= 15; ++x) {
    EXPECT_EQ(b.Pixel(x, 5), kWhite) << x;
    EXPECT_EQ(b.Pixel(x, 4), kWhite) << x;  // two pixels thick
  }
  EXPECT_EQ(b.Pixel(16, 5), Rgb(0, 0, 0));
  EXPECT_EQ(b.Pixel(10, 6), Rgb(0, 0, 0));

  Bitmap h(20, 20, Rgb(0, 0, 0));
  Canvas hub(h);
  const Color face = Rgb(192, 192, 192);
  hub.SetBrush(face);
  hub.SetPen(face, 2);
  hub.Ellipse(7, 7, 13, 13);
  for (int y = 8; y < 12; ++y)
    for (int x = 8; x < 12; ++x) EXPECT_EQ(h.Pixel(x, y), face) << x << "," << y;
  EXPECT_EQ(h.Pixel(5, 5), Rgb(0, 0, 0));
  EXPECT_EQ(h.Pixel(14, 10), Rgb(0, 0, 0));
}

TEST(Canvas, DrawingOutsideThePictureIsDropped) {
  Bitmap b(4, 4);
  Canvas c(b);
  c.SetPen(kWhite, 3);
  c.MoveTo(-50, -50);
  c.LineTo(60, 60);
  c.Ellipse(-10, -10, 100, 100);
  EXPECT_EQ(b.Pixel(-1, 0), Rgb(0, 0, 0));
  EXPECT_EQ(b.Width(), 4);
}

// A bitmap file with a palette, built by hand.
std::string PalettedBmp(int bits, int width, int height, bool topDown, const std::vector<Color>& palette,
                        const std::vector<int>& indexes) {
  const int stride = ((width * bits + 31) / 32) * 4;
  const int offset = 54 + 4 * static_cast<int>(palette.size());
  std::string s(static_cast<std::size_t>(offset + stride * height), '\0');
  auto put32 = [&](int at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
      s[static_cast<std::size_t>(at + i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  s[0] = 'B';
  s[1] = 'M';
  put32(2, static_cast<std::uint32_t>(s.size()));
  put32(10, static_cast<std::uint32_t>(offset));
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(width));
  put32(22, static_cast<std::uint32_t>(topDown ? -height : height));
  s[26] = 1;
  s[28] = static_cast<char>(bits);
  put32(46, static_cast<std::uint32_t>(palette.size()));
  for (std::size_t i = 0; i < palette.size(); ++i) {
    s[54 + 4 * i] = static_cast<char>(palette[i].b);
    s[54 + 4 * i + 1] = static_cast<char>(palette[i].g);
    s[54 + 4 * i + 2] = static_cast<char>(palette[i].r);
  }
  for (int y = 0; y < height; ++y) {
    const int row = topDown ? y : height - 1 - y;
    for (int x = 0; x < width; ++x) {
      const int bit = x * bits;
      auto& byte = s[static_cast<std::size_t>(offset + row * stride + bit / 8)];
      byte = static_cast<char>(byte |
                               (indexes[static_cast<std::size_t>(y * width + x)] << (8 - bits - bit % 8)));
    }
  }
  return s;
}

TEST(Bmp, RoundTripAndPalettes) {
  Bitmap b(5, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x)
      b.SetPixel(x, y, Rgb(static_cast<std::uint8_t>(x * 50), static_cast<std::uint8_t>(y * 80), 7));
  auto back = DecodeBmp(EncodeBmp(b));
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, b);

  const std::vector<Color> palette = {Rgb(0, 0, 0), Rgb(255, 0, 0), Rgb(0, 255, 0), Rgb(0, 0, 255)};
  const std::vector<int> indexes = {0, 1, 2, 3, 3, 2, 1, 0, 1, 1, 2, 2};
  for (int bits : {4, 8}) {
    for (bool topDown : {false, true}) {
      auto p = DecodeBmp(PalettedBmp(bits, 4, 3, topDown, palette, indexes));
      ASSERT_TRUE(p) << bits;
      for (int i = 0; i < 12; ++i)
        EXPECT_EQ(p->Pixel(i % 4, i / 4),
                  palette[static_cast<std::size_t>(indexes[static_cast<std::size_t>(i)])])
            << bits << " " << topDown << " " << i;
    }
  }
  auto mono = DecodeBmp(PalettedBmp(1, 3, 1, false, {Rgb(0, 0, 0), kWhite}, {1, 0, 1}));
  ASSERT_TRUE(mono);
  EXPECT_EQ(mono->Pixel(0, 0), kWhite);
  EXPECT_EQ(mono->Pixel(1, 0), Rgb(0, 0, 0));
}

TEST(Bmp, DamagedFilesGiveNothingAndReadNothingOutside) {
  const std::string good = EncodeBmp(Bitmap(9, 7, Rgb(1, 2, 3)));
  for (std::size_t n = 0; n < good.size(); ++n) EXPECT_FALSE(DecodeBmp(good.substr(0, n))) << n;
  auto patched = [&](std::size_t at, std::uint32_t v) {
    std::string s = good;
    for (int i = 0; i < 4; ++i)
      s[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
    return s;
  };
  EXPECT_FALSE(DecodeBmp(patched(18, 0)));            // no width
  EXPECT_FALSE(DecodeBmp(patched(18, 0x80000000u)));  // negative width
  EXPECT_FALSE(DecodeBmp(patched(22, 100000)));       // taller than any picture
  EXPECT_FALSE(DecodeBmp(patched(10, 0xFFFFFFF0u)));  // pixels beyond the end
  EXPECT_FALSE(DecodeBmp(patched(14, 0xFFFFFFF0u)));  // header beyond the end
  EXPECT_FALSE(DecodeBmp(patched(30, 1)));            // run-length coded
  EXPECT_FALSE(DecodePicture("GIF89a"));
}

// A JPEG file of `b` through the installed compressor.
std::string EncodeJpeg(const Bitmap& b, bool progressive) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr err{};
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &out, &size);
  cinfo.image_width = static_cast<JDIMENSION>(b.Width());
  cinfo.image_height = static_cast<JDIMENSION>(b.Height());
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 95, TRUE);
  if (progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<unsigned char> row(static_cast<std::size_t>(b.Width()) * 3);
  while (cinfo.next_scanline < cinfo.image_height) {
    for (int x = 0; x < b.Width(); ++x) {
      const Color c = b.Pixel(x, static_cast<int>(cinfo.next_scanline));
      row[3 * static_cast<std::size_t>(x)] = c.r;
      row[3 * static_cast<std::size_t>(x) + 1] = c.g;
      row[3 * static_cast<std::size_t>(x) + 2] = c.b;
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  std::string s(reinterpret_cast<char*>(out), size);
  jpeg_destroy_compress(&cinfo);
  std::free(out);
  return s;
}

Bitmap Halves() {
  Bitmap b(73, 54, Rgb(20, 160, 40));
  Canvas(b).FillRect(37, 0, 73, 54, Rgb(230, 120, 10));
  return b;
}

TEST(Jpeg, ProgressiveFilesDecodeThroughEveryScan) {
  for (bool progressive : {true, false}) {
    JpegInfo info;
    auto b = DecodePicture(EncodeJpeg(Halves(), progressive));
    ASSERT_TRUE(b);
    auto again = DecodeJpeg(EncodeJpeg(Halves(), progressive), &info);
    EXPECT_EQ(info.progressive, progressive);
    if (progressive) {
      EXPECT_GT(info.scans, 1);
    } else {
      EXPECT_EQ(info.scans, 1);
    }
    ASSERT_EQ(b->Width(), 73);
    ASSERT_EQ(b->Height(), 54);
    for (auto [x, y, c] : {std::tuple{10, 27, Rgb(20, 160, 40)}, std::tuple{60, 27, Rgb(230, 120, 10)}}) {
      const Color got = b->Pixel(x, y);
      EXPECT_NEAR(got.r, c.r, 6) << progressive;
      EXPECT_NEAR(got.g, c.g, 6) << progressive;
      EXPECT_NEAR(got.b, c.b, 6) << progressive;
    }
  }
}

TEST(Jpeg, DamagedFilesGiveNothingOrAPicture) {
  const std::string good = EncodeJpeg(Halves(), true);
  EXPECT_FALSE(DecodeJpeg(""));
  EXPECT_FALSE(DecodeJpeg("\xFF\xD8 not a picture"));
  for (std::size_t n = 2; n < good.size(); n += 37) {
    auto b = DecodeJpeg(good.substr(0, n));  // a cut file: nothing, or what its scans held; never a crash
    if (b) {
      EXPECT_EQ(b->Width(), 73);
    }
  }
  std::string flipped = good;
  for (std::size_t i = 200; i < flipped.size(); i += 50) flipped[i] = static_cast<char>(~flipped[i]);
  DecodeJpeg(flipped);
}

std::string ReadArt(const std::string& name) {
  std::ifstream in(std::string(KORVAL_ART_DIR) + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(Art, LampPicturesDecodeAtTheirSizes) {
  for (const char* name : {"Image8.jpg", "Image13.jpg", "Image14.jpg"}) {
    const std::string bytes = ReadArt(name);
    if (bytes.empty()) GTEST_SKIP() << name << " is not drawn yet";
    JpegInfo info;
    auto b = DecodeJpeg(bytes, &info);
    ASSERT_TRUE(b) << name;
    EXPECT_TRUE(info.progressive) << name;
    EXPECT_GT(info.scans, 1) << name;
    EXPECT_EQ(b->Width(), 73);
    EXPECT_EQ(b->Height(), 54);
  }
  const std::pair<const char*, std::pair<int, int>> bitmaps[] = {
      {"Image20.bmp", {640, 479}}, {"dial.bmp", {140, 140}}, {"Image7.bmp", {73, 46}},
      {"Image10.bmp", {73, 46}},   {"Image9.bmp", {73, 54}}, {"BitBtn1.bmp", {38, 36}},
      {"Image24.bmp", {22, 24}}};
  for (auto [name, size] : bitmaps) {
    const std::string bytes = ReadArt(name);
    if (bytes.empty()) continue;
    auto b = DecodePicture(bytes);
    ASSERT_TRUE(b) << name;
    EXPECT_EQ(b->Width(), size.first) << name;
    EXPECT_EQ(b->Height(), size.second) << name;
  }
}

}  // namespace
}  // namespace korval::forms
