// The built-in bitmap font of the legends: proportional glyphs on a 5 x 7 grid (capitals and digits 7 rows
// high, lower case 5 rows with ascenders and two rows of descenders).
#pragma once

#include <string>

#include "canvas.h"

namespace artgen {

struct TextStyle {
  int scale = 1;      // each font pixel becomes scale x scale pixels
  bool bold = false;  // each stroke one pixel wider
  int spacing = 1;    // pixels between glyphs, before scaling
};

// Width in pixels of `text`.
int TextWidth(const std::string& text, const TextStyle& style = {});
// Coverage of `text` with the top of its capitals at (x, y), on a mask of the canvas size.
Shape TextShape(const std::string& text, int x, int y, int width, int height, const TextStyle& style = {});
// Convenience: `text` centred on the column cx.
Shape CentredText(const std::string& text, float cx, int y, int width, int height,
                  const TextStyle& style = {});

}  // namespace artgen
