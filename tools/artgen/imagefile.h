// The picture files of the artwork: Windows bitmaps (24 and 32 bits), 16-colour icons and progressive JPEG.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "canvas.h"

namespace artgen {

using Bytes = std::vector<uint8_t>;

// A bottom-up BI_RGB bitmap file with a BITMAPINFOHEADER; bits is 24 or 32 (32: alpha byte 255).
Bytes EncodeBmp(const Canvas& c, int bits);

// One image of an icon file: colours mapped to the nearest of 16 palette entries, `opaque` per pixel.
struct IconImage {
  const Canvas* colour;
  std::vector<bool> opaque;  // width * height, row by row from the top
};
Bytes EncodeIco(const std::vector<IconImage>& images, const std::vector<Rgb>& palette16);

// Writes a baseline-compatible progressive JPEG (libjpeg's simple progression, 4:4:4, optimised tables).
bool WriteProgressiveJpeg(const std::string& path, const Canvas& c, int quality, std::string* error);
// Reads a JPEG; `progressive` tells whether it is a multi-scan file.
bool ReadJpeg(const std::string& path, Canvas* out, bool* progressive, std::string* error);

bool WriteFile(const std::string& path, const Bytes& data);
bool ReadFile(const std::string& path, Bytes* data);

}  // namespace artgen
