#pragma once
// JPEG pictures through the installed libjpeg. Progressive files (several scans) go through the decoder's
// multi-scan path: every scan is taken in before the picture is put out.
#include <optional>
#include <string_view>

#include "bitmap.h"

namespace korval::forms {

struct JpegInfo {
  bool progressive = false;  // the file holds several scans
  int scans = 0;             // scans that the decoder took in
};

// Nothing for a file that libjpeg refuses or one larger than a bitmap may be.
std::optional<Bitmap> DecodeJpeg(std::string_view bytes, JpegInfo* info = nullptr);

}  // namespace korval::forms
