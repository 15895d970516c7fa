#include "jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <vector>

// jpeglib.h leaves FILE and size_t to its includer.
#include <jpeglib.h>

namespace korval::forms {

namespace {

struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

[[noreturn]] void OnFatal(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}
void OnMessage(j_common_ptr, int) {}  // warnings (a file cut short, for one) are not shown to anybody
void OnOutput(j_common_ptr) {}

// Everything that changes after setjmp lives behind a pointer, so a long jump leaves no local half-set.
struct Work {
  Bitmap out;
  std::vector<unsigned char> row;
};

void ReadRows(jpeg_decompress_struct& cinfo, Work& w) {
  w.out = Bitmap(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height));
  w.row.assign(static_cast<std::size_t>(cinfo.output_width) * 3, 0);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW rows[1] = {w.row.data()};
    const int y = static_cast<int>(cinfo.output_scanline);
    if (jpeg_read_scanlines(&cinfo, rows, 1) != 1) break;
    for (int x = 0; x < static_cast<int>(cinfo.output_width); ++x)
      w.out.SetPixel(x, y, Color{w.row[3 * x], w.row[3 * x + 1], w.row[3 * x + 2]});
  }
}

}  // namespace

std::optional<Bitmap> DecodeJpeg(std::string_view bytes, JpegInfo* info) {
  if (bytes.empty()) return std::nullopt;
  auto work = std::make_unique<Work>();
  Work* const w = work.get();
  jpeg_decompress_struct cinfo{};
  ErrorManager err{};
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = OnFatal;
  err.pub.emit_message = OnMessage;
  err.pub.output_message = OnOutput;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return std::nullopt;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.data()),
               static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&cinfo, TRUE);
  if (cinfo.image_width == 0 || cinfo.image_height == 0 || cinfo.image_width > Bitmap::kMaxSide ||
      cinfo.image_height > Bitmap::kMaxSide) {
    jpeg_destroy_decompress(&cinfo);
    return std::nullopt;
  }
  cinfo.out_color_space = JCS_RGB;
  const bool progressive = jpeg_has_multiple_scans(&cinfo) != 0;
  // Several scans: decode in buffered-image mode, take in every scan, then put the finished picture out once.
  cinfo.buffered_image = progressive ? TRUE : FALSE;
  jpeg_start_decompress(&cinfo);
  if (progressive) {
    for (;;) {
      const int r = jpeg_consume_input(&cinfo);
      if (r == JPEG_REACHED_EOI || r == JPEG_SUSPENDED) break;
    }
    jpeg_start_output(&cinfo, cinfo.input_scan_number);
    ReadRows(cinfo, *w);
    jpeg_finish_output(&cinfo);
  } else {
    ReadRows(cinfo, *w);
  }
  const int scans = cinfo.input_scan_number;
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  if (info) {
    info->progressive = progressive;
    info->scans = scans;
  }
  return std::move(w->out);
}

}  // namespace korval::forms
