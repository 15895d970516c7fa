// The pictures of the status window, each drawn at the size of the control that shows it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "canvas.h"
#include "imagefile.h"

namespace artgen {

enum class Format { Bmp24, Bmp32, Jpeg, Icon };

struct Picture {
  std::string file;  // name in resources/art
  int width, height;
  Format format;
  std::string control;  // the control(s) that show it
  std::string depicts;
  std::function<Canvas()> draw;  // not used for the icon
};

const std::vector<Picture>& Pictures();

// The program icon file: a 32 x 32 and a 16 x 16 image, 16 colours each.
Bytes DrawIconFile();
// The icon file of an icon picture (the program icon above, or the launcher's 32 x 32 icon).
Bytes DrawIconFile(const Picture& picture);

}  // namespace artgen
