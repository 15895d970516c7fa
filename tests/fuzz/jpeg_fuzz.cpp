// Any bytes as a JPEG file (the lamp pictures of the status window's layout are JPEG): the loader either
// refuses them or gives a picture of a sane size; single-scan and multi-scan files alike.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "bitmap.h"
#include "jpeg.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  korval::forms::JpegInfo info;
  const auto picture = korval::forms::DecodeJpeg(bytes, &info);
  if (!picture) return 0;
  using korval::forms::Bitmap;
  if (picture->Width() < 1 || picture->Width() > Bitmap::kMaxSide || picture->Height() < 1 ||
      picture->Height() > Bitmap::kMaxSide)
    std::abort();
  if (info.scans < 1 || (info.scans > 1 && !info.progressive)) std::abort();
  return 0;
}
