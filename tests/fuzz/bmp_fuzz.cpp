// Any bytes as a Windows bitmap file: the loader either refuses them or gives a picture of a sane size that
// survives being written and read back.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "bitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto picture = korval::forms::DecodeBmp(bytes);
  if (!picture) return 0;
  using korval::forms::Bitmap;
  if (picture->Width() < 1 || picture->Width() > Bitmap::kMaxSide || picture->Height() < 1 ||
      picture->Height() > Bitmap::kMaxSide)
    std::abort();
  const auto back = korval::forms::DecodeBmp(korval::forms::EncodeBmp(*picture));
  if (!back || *back != *picture) std::abort();
  if (korval::forms::DecodePicture(bytes) != picture) std::abort();
  return 0;
}
