#include "imagefile.h"

#include <jpeglib.h>

#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <memory>

namespace artgen {

namespace {

uint8_t ToByte(float v) {
  long i = std::lround(v);
  return static_cast<uint8_t>(i < 0 ? 0 : (i > 255 ? 255 : i));
}

void Put16(Bytes& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(Bytes& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

// BITMAPINFOHEADER
void PutInfoHeader(Bytes& b, int width, int height, int bits, uint32_t image_size, uint32_t colours) {
  Put32(b, 40);
  Put32(b, static_cast<uint32_t>(width));
  Put32(b, static_cast<uint32_t>(height));
  Put16(b, 1);
  Put16(b, static_cast<uint32_t>(bits));
  Put32(b, 0);  // BI_RGB
  Put32(b, image_size);
  Put32(b, 0);
  Put32(b, 0);
  Put32(b, colours);
  Put32(b, 0);
}

int Nearest(Rgb c, const std::vector<Rgb>& palette) {
  int best = 0;
  float best_d = 1e30f;
  for (std::size_t i = 0; i < palette.size(); ++i) {
    float dr = c.r - palette[i].r, dg = c.g - palette[i].g, db = c.b - palette[i].b;
    // Weighted towards green, as the eye is.
    float d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
    if (d < best_d) {
      best_d = d;
      best = static_cast<int>(i);
    }
  }
  return best;
}

struct JpegError {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
  char text[JMSG_LENGTH_MAX];
};

void OnJpegError(j_common_ptr info) {
  JpegError* e = reinterpret_cast<JpegError*>(info->err);
  (*info->err->format_message)(info, e->text);
  std::longjmp(e->jump, 1);
}

struct FileCloser {
  void operator()(std::FILE* f) const {
    if (f) std::fclose(f);
  }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

Bytes EncodeBmp(const Canvas& c, int bits) {
  const int w = c.width(), h = c.height();
  const int bpp = bits / 8;
  const uint32_t stride = (static_cast<uint32_t>(w * bpp) + 3u) & ~3u;
  const uint32_t image = stride * static_cast<uint32_t>(h);
  Bytes b;
  b.push_back('B');
  b.push_back('M');
  Put32(b, 14 + 40 + image);
  Put32(b, 0);
  Put32(b, 14 + 40);
  PutInfoHeader(b, w, h, bits, image, 0);
  for (int y = h - 1; y >= 0; --y) {
    std::size_t start = b.size();
    for (int x = 0; x < w; ++x) {
      Rgb p = c.Get(x, y);
      b.push_back(ToByte(p.b));
      b.push_back(ToByte(p.g));
      b.push_back(ToByte(p.r));
      if (bpp == 4) b.push_back(255);
    }
    while (b.size() - start < stride) b.push_back(0);
  }
  return b;
}

Bytes EncodeIco(const std::vector<IconImage>& images, const std::vector<Rgb>& palette16) {
  std::vector<Bytes> bodies;
  for (const IconImage& img : images) {
    const Canvas& c = *img.colour;
    const int w = c.width(), h = c.height();
    const uint32_t xor_stride = ((static_cast<uint32_t>(w) * 4 + 31) / 32) * 4;
    const uint32_t and_stride = ((static_cast<uint32_t>(w) + 31) / 32) * 4;
    Bytes b;
    PutInfoHeader(b, w, 2 * h, 4, (xor_stride + and_stride) * static_cast<uint32_t>(h), 16);
    for (const Rgb& p : palette16) {
      b.push_back(ToByte(p.b));
      b.push_back(ToByte(p.g));
      b.push_back(ToByte(p.r));
      b.push_back(0);
    }
    for (int y = h - 1; y >= 0; --y) {
      Bytes row(xor_stride, 0);
      for (int x = 0; x < w; ++x) {
        bool opaque = img.opaque[static_cast<std::size_t>(y) * w + x];
        int index = opaque ? Nearest(c.Get(x, y), palette16) : 0;
        row[static_cast<std::size_t>(x / 2)] |= static_cast<uint8_t>(x % 2 ? index : index << 4);
      }
      b.insert(b.end(), row.begin(), row.end());
    }
    for (int y = h - 1; y >= 0; --y) {
      Bytes row(and_stride, 0);
      for (int x = 0; x < w; ++x) {
        if (!img.opaque[static_cast<std::size_t>(y) * w + x]) {
          row[static_cast<std::size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
        }
      }
      b.insert(b.end(), row.begin(), row.end());
    }
    bodies.push_back(std::move(b));
  }
  Bytes out;
  Put16(out, 0);
  Put16(out, 1);  // icon
  Put16(out, static_cast<uint32_t>(images.size()));
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    out.push_back(static_cast<uint8_t>(images[i].colour->width()));
    out.push_back(static_cast<uint8_t>(images[i].colour->height()));
    out.push_back(16);  // colours
    out.push_back(0);
    Put16(out, 1);  // planes
    Put16(out, 4);  // bits
    Put32(out, static_cast<uint32_t>(bodies[i].size()));
    Put32(out, offset);
    offset += static_cast<uint32_t>(bodies[i].size());
  }
  for (const Bytes& b : bodies) out.insert(out.end(), b.begin(), b.end());
  return out;
}

bool WriteProgressiveJpeg(const std::string& path, const Canvas& c, int quality, std::string* error) {
  FilePtr f(std::fopen(path.c_str(), "wb"));
  if (!f) {
    *error = "cannot create " + path;
    return false;
  }
  std::vector<JSAMPLE> row(static_cast<std::size_t>(c.width()) * 3);
  jpeg_compress_struct info;
  JpegError err;
  info.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = OnJpegError;
  if (setjmp(err.jump)) {
    *error = path + ": " + err.text;
    jpeg_destroy_compress(&info);
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, f.get());
  info.image_width = static_cast<JDIMENSION>(c.width());
  info.image_height = static_cast<JDIMENSION>(c.height());
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  for (int i = 0; i < info.num_components; ++i) {
    // No chroma subsampling: the lamps' legends are a pixel wide.
    info.comp_info[i].h_samp_factor = 1;
    info.comp_info[i].v_samp_factor = 1;
  }
  info.optimize_coding = TRUE;
  jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    int y = static_cast<int>(info.next_scanline);
    for (int x = 0; x < c.width(); ++x) {
      Rgb p = c.Get(x, y);
      row[static_cast<std::size_t>(x) * 3] = ToByte(p.r);
      row[static_cast<std::size_t>(x) * 3 + 1] = ToByte(p.g);
      row[static_cast<std::size_t>(x) * 3 + 2] = ToByte(p.b);
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  if (std::fflush(f.get()) != 0) {
    *error = "cannot write " + path;
    return false;
  }
  return true;
}

bool ReadJpeg(const std::string& path, Canvas* out, bool* progressive, std::string* error) {
  FilePtr f(std::fopen(path.c_str(), "rb"));
  if (!f) {
    *error = "cannot open " + path;
    return false;
  }
  jpeg_decompress_struct info;
  JpegError err;
  info.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = OnJpegError;
  std::vector<JSAMPLE> row;
  if (setjmp(err.jump)) {
    *error = path + ": " + err.text;
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_stdio_src(&info, f.get());
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  *progressive = info.progressive_mode != 0;
  const int w = static_cast<int>(info.output_width), h = static_cast<int>(info.output_height);
  *out = Canvas(w, h, Rgb{});
  row.resize(static_cast<std::size_t>(w) * 3);
  while (info.output_scanline < info.output_height) {
    int y = static_cast<int>(info.output_scanline);
    JSAMPROW rows[1] = {row.data()};
    jpeg_read_scanlines(&info, rows, 1);
    for (int x = 0; x < w; ++x) {
      out->Set(x, y,
               Rgb{static_cast<float>(row[static_cast<std::size_t>(x) * 3]),
                   static_cast<float>(row[static_cast<std::size_t>(x) * 3 + 1]),
                   static_cast<float>(row[static_cast<std::size_t>(x) * 3 + 2])});
    }
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

bool WriteFile(const std::string& path, const Bytes& data) {
  FilePtr f(std::fopen(path.c_str(), "wb"));
  if (!f) return false;
  if (!data.empty() && std::fwrite(data.data(), 1, data.size(), f.get()) != data.size()) return false;
  return std::fflush(f.get()) == 0;
}

bool ReadFile(const std::string& path, Bytes* data) {
  FilePtr f(std::fopen(path.c_str(), "rb"));
  if (!f) return false;
  data->clear();
  uint8_t buf[65536];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f.get())) > 0) data->insert(data->end(), buf, buf + n);
  return std::ferror(f.get()) == 0;
}

}  // namespace artgen
