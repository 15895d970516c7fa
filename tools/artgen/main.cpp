// Draws the status window's artwork.
//
//   artgen <folder>          writes every picture into the folder (resources/art)
//   artgen --check <folder>  checks that the folder holds what this program draws: bitmaps and the icon byte
//   for
//                            byte, JPEGs by size, progressive coding and decoded pixels
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "imagefile.h"
#include "pictures.h"

namespace {

using namespace artgen;

Bytes Encode(const Picture& p, const Canvas& c) {
  return p.format == Format::Icon ? DrawIconFile(p) : EncodeBmp(c, p.format == Format::Bmp32 ? 32 : 24);
}

int Write(const std::string& folder) {
  for (const Picture& p : Pictures()) {
    std::string path = folder + "/" + p.file;
    std::string error;
    if (p.format == Format::Jpeg) {
      if (!WriteProgressiveJpeg(path, p.draw(), 92, &error)) {
        std::fprintf(stderr, "artgen: %s\n", error.c_str());
        return 1;
      }
    } else {
      Canvas c = p.draw ? p.draw() : Canvas(1, 1, Rgb{});
      if (!WriteFile(path, Encode(p, c))) {
        std::fprintf(stderr, "artgen: cannot write %s\n", path.c_str());
        return 1;
      }
    }
    std::printf("%s\n", path.c_str());
  }
  return 0;
}

// Mean absolute difference per channel of two canvases of one size.
double MeanDifference(const Canvas& a, const Canvas& b) {
  double sum = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      Rgb p = a.Get(x, y), q = b.Get(x, y);
      sum += std::fabs(std::round(p.r) - q.r) + std::fabs(std::round(p.g) - q.g) +
             std::fabs(std::round(p.b) - q.b);
    }
  }
  return sum / (3.0 * a.width() * a.height());
}

int Check(const std::string& folder) {
  int failures = 0;
  for (const Picture& p : Pictures()) {
    std::string path = folder + "/" + p.file;
    std::string problem;
    if (p.format == Format::Jpeg) {
      Canvas got(1, 1, Rgb{});
      bool progressive = false;
      std::string error;
      if (!ReadJpeg(path, &got, &progressive, &error)) {
        problem = error;
      } else if (got.width() != p.width || got.height() != p.height) {
        problem = "size " + std::to_string(got.width()) + " x " + std::to_string(got.height());
      } else if (!progressive) {
        problem = "not a progressive JPEG";
      } else if (double d = MeanDifference(p.draw(), got); d > 3.0) {
        problem = "differs from the drawing by " + std::to_string(d) + " levels on average";
      }
    } else {
      Bytes want = Encode(p, p.draw ? p.draw() : Canvas(1, 1, Rgb{}));
      Bytes got;
      if (!ReadFile(path, &got)) {
        problem = "missing";
      } else if (got != want) {
        problem = "differs from what artgen draws (run artgen to redraw the set)";
      }
    }
    if (!problem.empty()) {
      std::fprintf(stderr, "%s: %s\n", path.c_str(), problem.c_str());
      ++failures;
    }
  }
  std::printf("%zu passed, %d failed\n", Pictures().size() - static_cast<std::size_t>(failures), failures);
  return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--check") != 0) return Write(argv[1]);
  if (argc == 3 && std::strcmp(argv[1], "--check") == 0) return Check(argv[2]);
  std::fprintf(stderr, "usage: artgen <folder> | artgen --check <folder>\n");
  return 2;
}
