#include "pictures.h"

#include <algorithm>
#include <cmath>

#include "font.h"

namespace artgen {

namespace {

constexpr float kPi = 3.14159265358979f;
const Rgb kBlack{0, 0, 0};
const Rgb kWhite{255, 255, 255};
constexpr float kPlateGrey = 204;    // the window's background colour
const Rgb kGlyphKey{192, 192, 192};  // background of the toolbar glyphs (their lower left pixel)
const Rgb kField{233, 233, 233};     // background of the schedule labels

Rgb Hex(unsigned v) {
  return {static_cast<float>((v >> 16) & 255), static_cast<float>((v >> 8) & 255),
          static_cast<float>(v & 255)};
}

// A frame of `width` along the inside of a rounded box.
Shape Frame(float x0, float y0, float x1, float y1, float radius, float width) {
  return Subtract(RoundRect(x0, y0, x1, y1, radius),
                  RoundRect(x0 + width, y0 + width, x1 - width, y1 - width, std::fmax(0.0f, radius - width)));
}

// One-pixel bevel on the pixel box [x0, x1) x [y0, y1): `tl` on the top and left rows, `br` on the others.
void Bevel(Canvas& c, int x0, int y0, int x1, int y1, Rgb tl, Rgb br, float alpha = 1) {
  for (int x = x0; x < x1; ++x) {
    c.Blend(x, y0, tl, alpha);
    c.Blend(x, y1 - 1, br, alpha);
  }
  for (int y = y0 + 1; y < y1 - 1; ++y) {
    c.Blend(x0, y, tl, alpha);
    c.Blend(x1 - 1, y, br, alpha);
  }
}

// Cut into the plate: a light edge below and right of the shape, then the shape in the dark colour.
void Engrave(Canvas& c, const Shape& s, Rgb dark, float light_alpha = 0.75f) {
  c.Fill(Translate(s, 1, 1), kWhite, light_alpha);
  c.Fill(s, dark);
}

// A slotted screw head on the plate.
void Screw(Canvas& c, float cx, float cy, float r, float slot) {
  DropShadow(c, Circle(cx, cy, r), 0.7f, 1.1f, 1.6f, kBlack, 0.45f);
  c.Fill(Ring(cx, cy, r - 0.3f, r + 1.1f), Grey(150), 0.55f);  // countersink
  c.Fill(Circle(cx, cy, r), Radial(cx - 0.35f * r, cy - 0.4f * r, 1.7f * r,
                                   {{0, Grey(252)}, {0.45f, Grey(206)}, {1, Grey(118)}}));
  c.Fill(Ring(cx, cy, r - 0.9f, r), Grey(96), 0.55f);
  float dx = std::cos(slot) * r * 0.78f, dy = std::sin(slot) * r * 0.78f;
  float w = std::fmax(1.5f, 0.24f * r);
  c.Fill(Stroke(cx - dx + 0.6f, cy - dy + 0.7f, cx + dx + 0.6f, cy + dy + 0.7f, w), kWhite, 0.55f);
  c.Fill(Stroke(cx - dx, cy - dy, cx + dx, cy + dy, w), Grey(58));
}

// ---------------------------------------------------------------- instrument plate (Image20)

Canvas DrawPlate() {
  Canvas c(640, 479, Grey(kPlateGrey));
  BrushedMetal(c, 0x2025u, kPlateGrey, 2.6f);

  // Raised edge of the plate.
  Bevel(c, 0, 0, 640, 479, Grey(246), Grey(112));
  Bevel(c, 1, 1, 639, 478, Grey(230), Grey(150), 0.8f);

  for (Pt p : {Pt{12.5f, 12.5f}, Pt{627.5f, 12.5f}, Pt{12.5f, 466.5f}, Pt{627.5f, 466.5f}}) {
    Screw(c, p.x, p.y, 6.5f, 0.6f + p.x * 0.01f + p.y * 0.02f);
  }

  // Maker's mark left of the toolbar: the power sign and the name.
  const Rgb ink = Hex(0x4A505A);
  Shape power =
      Union(Union(Arc(38, 45.5f, 11, 2.6f, 0, 0.78f * kPi), Arc(38, 45.5f, 11, 2.6f, 1.22f * kPi, 2 * kPi)),
            Stroke(38, 31.5f, 38, 45, 2.8f));
  Engrave(c, power, Hex(0x2F6FB8));
  TextStyle big{2, true, 1};
  Engrave(c, TextShape("KORVAL", 58, 31, 640, 479, big), ink);
  Engrave(c,
          TextShape("Plus", 58 + TextWidth("KORVAL", big) - TextWidth("Plus", {1, true, 1}), 50, 640, 479,
                    {1, true, 1}),
          Hex(0x2F6FB8));

  // The toolbar channel behind the nine buttons (41 x 40 at y 25, x 170..565).
  Shape channel = RoundRect(163.5f, 20.5f, 571.5f, 70.5f, 6);
  c.Fill(channel, kBlack, 0.07f);
  InnerShadow(c, channel, 1.5f, 2.0f, 3.0f, kBlack, 0.40f);
  EdgeLight(c, channel, 1, 1, kWhite, 0.8f);

  // Two grooves between the gauge columns (gauges at x 32..172, 203..343, 374..514).
  for (float x : {187.5f, 358.5f}) Engrave(c, Stroke(x, 101, x, 452, 1.8f), Grey(118), 0.85f);

  // Lamp housings: a dark lip around each lamp field at x 536, 73 wide.
  for (int top : {99, 162, 231}) {
    int bottom = top == 99 ? 145 : top + 54;
    Bevel(c, 535, top - 1, 610, bottom + 1, Grey(60), Grey(60));
    Bevel(c, 534, top - 2, 611, bottom + 2, Grey(150), Grey(250), 0.7f);
  }

  // The two framed fields behind the schedule values (Label13/Label14 and Label9/Label10).
  struct Field {
    int x0, y0, x1, y1;
  };
  for (Field f : {Field{536, 302, 610, 340}, Field{537, 365, 611, 399}}) {
    DropShadow(c, Rect(f.x0 - 1.0f, f.y0 - 1.0f, f.x1 + 1.0f, f.y1 + 1.0f), 0, 0, 2.5f, kBlack, 0.15f);
    c.Fill(Rect(static_cast<float>(f.x0), static_cast<float>(f.y0), static_cast<float>(f.x1),
                static_cast<float>(f.y1)),
           kField);
    Bevel(c, f.x0 - 1, f.y0 - 1, f.x1 + 1, f.y1 + 1, Grey(132), Grey(252));
    Bevel(c, f.x0, f.y0, f.x1, f.y1, Grey(86), Grey(214));
  }
  return c;
}

// ---------------------------------------------------------------- dial face (Image22, Image1..Image6)

Canvas DrawDial() {
  Canvas c(140, 140, Grey(kPlateGrey));
  BrushedMetal(c, 0x0D1Au, kPlateGrey, 2.6f);
  const float cx = 70, cy = 70;  // the needle turns about (69, 69)..(70, 70), the hub's centre
  const float a0 = 0.4f * kPi, a1 = 1.6f * kPi;

  DropShadow(c, Circle(cx, cy, 69.2f), 0.6f, 1.0f, 1.6f, kBlack, 0.45f);
  // Bezel: a turned ring lit from the upper left, with a lip stepping down to the face.
  Gradient steel{{0, Grey(246)}, {0.45f, Grey(186)}, {1, Grey(92)}};
  c.Fill(Circle(cx, cy, 69.2f), Linear(18, 12, 122, 128, steel));
  c.Fill(Ring(cx, cy, 68.4f, 69.2f), Grey(70), 0.7f);
  c.Fill(Ring(cx, cy, 63.2f, 66.0f), Linear(122, 128, 18, 12, steel));
  c.Fill(Ring(cx, cy, 62.6f, 63.6f), Grey(30), 0.8f);

  // Face.
  Shape face = Circle(cx, cy, 63.0f);
  c.Fill(face, Radial(cx, cy - 14, 78, {{0, Hex(0x3A3E46)}, {0.6f, Hex(0x23262C)}, {1, Hex(0x141518)}}));
  InnerShadow(c, face, 0.8f, 2.2f, 3.0f, kBlack, 0.7f);

  // Scale: the arc where the needle's tip (23 pixels from the hub) ends, ticks pointing inwards so that the
  // scale labels, whose nearest corners stand about 24 pixels out, stay clear of it; major ticks every 0.2
  // pi.
  const float arc_r = 22.6f;
  c.Fill(Arc(cx, cy, arc_r - 2.4f, 2.2f, 1.4f * kPi, a1), Hex(0xE0362A), 0.95f);  // red end: the last fifth
  for (int k = 0; k <= 24; ++k) {
    float a = a0 + k * (a1 - a0) / 24;
    float inner = k % 4 == 0 ? 16.4f : (k % 2 == 0 ? 18.8f : 20.2f);
    float width = k % 4 == 0 ? 1.6f : (k % 2 == 0 ? 1.1f : 0.9f);
    Pt p = Polar(cx, cy, inner, a), q = Polar(cx, cy, arc_r, a);
    c.Fill(Stroke(p.x, p.y, q.x, q.y, width), kWhite, k % 4 == 0 ? 1.0f : 0.85f);
  }
  c.Fill(Arc(cx, cy, arc_r, 1.2f, a0, a1), kWhite);

  // Socket of the hub (the program paints the hub itself, (67, 67)..(73, 73)).
  c.Fill(Circle(cx, cy, 5.6f), Hex(0x0C0D0F));
  c.Fill(Ring(cx, cy, 5.0f, 5.8f), Grey(120), 0.5f);

  // Maker's mark under the hub.
  c.Fill(CentredText("KORVAL", cx, 92, 140, 140, {1, false, 1}), Hex(0x6C717A));

  // White field behind the readout panel (46 x 22 at (48, 104)).
  Shape field = RoundRect(45.5f, 101.5f, 96.5f, 128.5f, 3);
  c.Fill(field, Linear(0, 101, 0, 129, {{0, Grey(255)}, {1, Grey(236)}}));
  c.Fill(Frame(45.5f, 101.5f, 96.5f, 128.5f, 3, 0.8f), Grey(150), 0.8f);

  // A faint reflection of the glass over the upper left of the face.
  c.Fill(Subtract(Circle(cx, cy, 61), Circle(cx + 10, cy + 14, 64)), kWhite, 0.07f);
  return c;
}

// ---------------------------------------------------------------- lamps (Image7..Image19, Image23)

enum class Mark { None, Up, Down };

struct Lamp {
  const char* line1;
  const char* line2;  // second legend line, or empty
  Rgb colour;
  bool lit;
  Mark mark;
};

const Rgb kGreen = Hex(0x2EE65A);
const Rgb kAmber = Hex(0xFFA814);
const Rgb kRed = Hex(0xFF3526);

Canvas DrawLamp(int width, int height, const Lamp& lamp) {
  const float w = static_cast<float>(width), h = static_cast<float>(height);
  Canvas c(width, height, Grey(40));
  // Housing: dark anodised metal with a bevelled rim.
  c.Fill(Rect(0, 0, w, h), Linear(0, 0, 0, h, {{0, Hex(0x4A4E55)}, {1, Hex(0x26282C)}}));
  Bevel(c, 0, 0, width, height, Grey(14), Grey(14));
  Bevel(c, 1, 1, width - 1, height - 1, Grey(120), Grey(22));

  const bool two_lines = lamp.line2[0] != '\0';
  const float r = height == 46 ? 11.0f : 11.5f;
  const float cx = w / 2, cy = height == 46 ? 17.0f : (two_lines ? 17.5f : 20.0f);

  // Legend window under the lamp.
  TextStyle legend{1, false, 1};
  const int text_y = height == 46 ? 34 : (two_lines ? 34 : 40);
  const int bottom = text_y + (two_lines ? 18 : 9);
  Shape window = RoundRect(3.5f, text_y - 2.5f, w - 3.5f, static_cast<float>(bottom) + 0.5f, 2);
  c.Fill(window, Hex(0x141518));
  EdgeLight(c, window, 0, 1, kWhite, 0.18f);

  if (lamp.lit) {
    // Light thrown on the housing around the lens.
    Shape halo = Fade(Circle(cx, cy, r + 12), [=](float x, float y) {
      float d = (std::hypot(x - cx, y - cy) - r) / 12;
      return 0.55f * (1 - d) * (1 - d);
    });
    c.Fill(halo, lamp.colour);
  }
  // Chrome bezel of the lens.
  DropShadow(c, Circle(cx, cy, r + 2.6f), 0.5f, 1.0f, 1.5f, kBlack, 0.6f);
  c.Fill(Circle(cx, cy, r + 2.6f), Linear(cx - r, cy - r, cx + r, cy + r, {{0, Grey(240)}, {1, Grey(70)}}));
  c.Fill(Ring(cx, cy, r - 0.2f, r + 0.8f),
         Linear(cx + r, cy + r, cx - r, cy - r, {{0, Grey(220)}, {1, Grey(40)}}));
  // The lens.
  Shape lens = Circle(cx, cy, r);
  if (lamp.lit) {
    c.Fill(lens, Radial(cx - 0.25f * r, cy - 0.3f * r, 1.35f * r,
                        {{0, Lerp(lamp.colour, kWhite, 0.8f)},
                         {0.35f, Lerp(lamp.colour, kWhite, 0.25f)},
                         {0.75f, lamp.colour},
                         {1, Scale(lamp.colour, 0.55f)}}));
  } else {
    Rgb dark = Lerp(Scale(lamp.colour, 0.22f), Grey(40), 0.5f);
    c.Fill(lens, Radial(cx - 0.25f * r, cy - 0.3f * r, 1.35f * r,
                        {{0, Lerp(dark, Grey(110), 0.5f)}, {0.6f, dark}, {1, Scale(dark, 0.45f)}}));
  }
  InnerShadow(c, lens, 0, 1.5f, 2.0f, kBlack, lamp.lit ? 0.35f : 0.6f);
  // Arrow moulded into the lens for the two AVR directions.
  if (lamp.mark != Mark::None) {
    float s = lamp.mark == Mark::Up ? -1.0f : 1.0f;
    Shape arrow = Polygon({{cx, cy + s * 6.5f},
                           {cx + 6, cy + s * 0.5f},
                           {cx + 2.5f, cy + s * 0.5f},
                           {cx + 2.5f, cy - s * 6},
                           {cx - 2.5f, cy - s * 6},
                           {cx - 2.5f, cy + s * 0.5f},
                           {cx - 6, cy + s * 0.5f}});
    c.Fill(Translate(arrow, 0, 0.8f), kWhite, 0.45f);
    c.Fill(arrow, Scale(lamp.colour, 0.55f), 0.9f);
  }
  // Reflection on the glass.
  c.Fill(Ellipse(cx - 0.3f * r, cy - 0.5f * r, 0.48f * r, 0.26f * r), kWhite, lamp.lit ? 0.6f : 0.3f);

  // Legend.
  Rgb ink = lamp.lit ? Grey(244) : Grey(214);
  c.Fill(CentredText(lamp.line1, cx, text_y, width, height, legend), ink);
  if (two_lines) c.Fill(CentredText(lamp.line2, cx, text_y + 9, width, height, legend), ink);
  return c;
}

// ---------------------------------------------------------------- toolbar glyphs (BitBtn1..BitBtn9)

const Rgb kOutline = Hex(0x262830);

Canvas GlyphCanvas() { return Canvas(38, 36, kGlyphKey); }

// A glyph button takes the colour of a glyph's lower left pixel as transparent: keep it the key colour.
std::function<Canvas()> Glyph(Canvas (*draw)()) {
  return [draw] {
    Canvas c = draw();
    c.Set(0, c.height() - 1, kGlyphKey);
    return c;
  };
}

Shape Dilate(const Shape& s) {
  Mask m = Mask::Of(s, 38, 36);
  Mask d(38, 36);
  for (int y = 0; y < 36; ++y) {
    for (int x = 0; x < 38; ++x) {
      float v = 0;
      for (int j = -1; j <= 1; ++j) {
        for (int i = -1; i <= 1; ++i) v = std::fmax(v, m.Get(x + i, y + j) * (i && j ? 0.6f : 1.0f));
      }
      d.Set(x, y, v);
    }
  }
  return d.AsShape();
}

// Fills a piece of a glyph with its outline and a soft shadow under it.
void Piece(Canvas& c, const Shape& s, const Paint& paint, bool shadow = true) {
  Shape outer = Dilate(s);
  if (shadow) DropShadow(c, outer, 1.0f, 1.2f, 1.5f, kBlack, 0.35f);
  c.Fill(outer, kOutline);
  c.Fill(s, paint);
}

Paint Metal(float x0, float y0, float x1, float y1) {
  return Linear(x0, y0, x1, y1, {{0, Grey(250)}, {0.5f, Grey(196)}, {1, Grey(118)}});
}

Canvas GlyphConfig() {  // gear
  Canvas c = GlyphCanvas();
  const float cx = 19, cy = 18;
  std::vector<Pt> pts;
  const int teeth = 8;
  for (int k = 0; k < teeth; ++k) {
    float t = k * 2 * kPi / teeth;
    for (auto [da, r] :
         {std::pair<float, float>{-0.30f, 10.5f}, {-0.17f, 14.5f}, {0.17f, 14.5f}, {0.30f, 10.5f}}) {
      pts.push_back(Polar(cx, cy, r, t + da));
    }
  }
  Shape gear = Subtract(Polygon(pts), Circle(cx, cy, 4.6f));
  Piece(c, gear, Linear(6, 4, 32, 32, {{0, Hex(0xD9E4F2)}, {0.5f, Hex(0x8FA6C4)}, {1, Hex(0x4B5F7E)}}));
  c.Fill(Ring(cx, cy, 4.6f, 7.0f), Linear(32, 32, 6, 4, {{0, Hex(0xE3EAF5)}, {1, Hex(0x5A6E8C)}}), 0.9f);
  c.Fill(Ring(cx, cy, 4.0f, 4.9f), kOutline);
  return c;
}

Canvas GlyphSelfTest() {  // battery with a tick
  Canvas c = GlyphCanvas();
  Shape body = Union(RoundRect(3.5f, 9.5f, 27.5f, 26.5f, 2), Rect(27, 14, 30.5f, 22));
  Piece(c, body, Linear(0, 9, 0, 27, {{0, Grey(120)}, {0.5f, Grey(64)}, {1, Grey(36)}}));
  for (int k = 0; k < 3; ++k) {
    float x = 6.5f + k * 6.5f;
    c.Fill(RoundRect(x, 12.5f, x + 5, 23.5f, 1),
           Linear(0, 12, 0, 24, {{0, Hex(0x9CF79A)}, {1, Hex(0x1E9E2E)}}));
  }
  Shape badge = Circle(27, 25, 8.2f);
  Piece(c, badge, Radial(24.5f, 22, 11, {{0, Hex(0x78E36E)}, {1, Hex(0x17862A)}}));
  c.Fill(Polyline({{22.6f, 25.0f}, {26.0f, 28.4f}, {31.2f, 21.6f}}, 2.4f), kWhite);
  return c;
}

Canvas GlyphComPort() {  // nine-pin serial plug with its cable
  Canvas c = GlyphCanvas();
  Piece(c, Stroke(19, 0, 19, 9, 6), Linear(15, 0, 23, 0, {{0, Grey(110)}, {0.4f, Grey(60)}, {1, Grey(30)}}));
  Piece(c, RoundRect(13.5f, 7.5f, 24.5f, 13.5f, 1), Linear(13, 0, 25, 0, {{0, Grey(90)}, {1, Grey(30)}}),
        false);
  Shape flange = RoundRect(1.5f, 12.5f, 36.5f, 30.5f, 2.5f);
  Piece(c, flange, Metal(2, 12, 30, 32));
  for (float x : {5.0f, 33.0f}) {
    c.Fill(Circle(x, 21.5f, 2.0f), Grey(60));
    c.Fill(Circle(x - 0.4f, 21.1f, 0.8f), Grey(200));
  }
  Shape shell = Polygon({{8, 15}, {30, 15}, {27.5f, 28}, {10.5f, 28}});
  c.Fill(Dilate(shell), Grey(80));
  c.Fill(shell, Linear(0, 15, 0, 28, {{0, Hex(0x3A3F4A)}, {1, Hex(0x14161A)}}));
  for (int k = 0; k < 5; ++k) c.Fill(Circle(11.5f + k * 3.75f, 18.8f, 1.3f), Hex(0xF0C850));
  for (int k = 0; k < 4; ++k) c.Fill(Circle(13.4f + k * 3.75f, 24.2f, 1.3f), Hex(0xF0C850));
  return c;
}

Canvas GlyphSchedule() {  // calendar page and clock
  Canvas c = GlyphCanvas();
  Shape page = RoundRect(3.5f, 6.5f, 27.5f, 31.5f, 2);
  Piece(c, page, Linear(0, 6, 0, 32, {{0, Grey(255)}, {1, Grey(222)}}));
  c.Fill(Intersect(page, Rect(3, 6, 28, 13)), Linear(0, 6, 0, 13, {{0, Hex(0xF0605A)}, {1, Hex(0xB0201C)}}));
  for (float x : {9.5f, 21.5f})
    Piece(c, RoundRect(x - 1.5f, 3.5f, x + 1.5f, 10.5f, 1.4f), Solid(Grey(170)), false);
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 5; ++col) {
      float x = 6.0f + col * 4.2f, y = 15.0f + row * 4.0f;
      c.Fill(Rect(x, y, x + 3, y + 2.6f), row == 1 && col == 2 ? Hex(0xD0302A) : Grey(150));
    }
  }
  const float kx = 27.5f, ky = 25.5f;
  Piece(c, Circle(kx, ky, 8.3f), Radial(kx - 2, ky - 2, 10, {{0, Hex(0x6FA8F0)}, {1, Hex(0x1C4C9C)}}));
  c.Fill(Circle(kx, ky, 6.3f), Radial(kx - 1, ky - 1, 7, {{0, Grey(255)}, {1, Grey(225)}}));
  c.Fill(Stroke(kx, ky, kx, ky - 4.6f, 1.5f), kOutline);
  c.Fill(Stroke(kx, ky, kx + 3.4f, ky + 1.0f, 1.5f), kOutline);
  c.Fill(Circle(kx, ky, 1.0f), Hex(0xD0302A));
  return c;
}

Canvas GlyphRecordView() {  // recorded trace on a screen, with the play sign
  Canvas c = GlyphCanvas();
  Shape frame = RoundRect(1.5f, 4.5f, 34.5f, 29.5f, 2.5f);
  Piece(c, frame, Linear(0, 4, 0, 30, {{0, Grey(112)}, {1, Grey(46)}}));
  Shape screen = Rect(4.5f, 7.5f, 31.5f, 26.5f);
  c.Fill(screen, Linear(0, 7, 0, 27, {{0, Hex(0x0E3A22)}, {1, Hex(0x062012)}}));
  for (float x = 8; x < 31; x += 5.4f) c.Fill(Rect(x, 7.5f, x + 0.6f, 26.5f), Hex(0x2E7A4A), 0.6f);
  for (float y = 11; y < 26; y += 5) c.Fill(Rect(4.5f, y, 31.5f, y + 0.6f), Hex(0x2E7A4A), 0.6f);
  c.Fill(
      Polyline({{5.5f, 19}, {9, 15}, {12, 18}, {15, 12}, {18, 21}, {21, 16}, {24, 17}, {27, 11}, {30.5f, 14}},
               1.4f),
      Hex(0x8CFFA8));
  Piece(c, Circle(29, 28.5f, 6.8f), Radial(27, 26.5f, 9, {{0, Hex(0x72B0FF)}, {1, Hex(0x1B4FB0)}}));
  c.Fill(Polygon({{27.0f, 25.0f}, {32.6f, 28.5f}, {27.0f, 32.0f}}), kWhite);
  return c;
}

Canvas GlyphEventView() {  // event list with a magnifier
  Canvas c = GlyphCanvas();
  Shape page = Polygon({{5.5f, 2.5f}, {22.5f, 2.5f}, {29.5f, 9.5f}, {29.5f, 33.5f}, {5.5f, 33.5f}});
  Piece(c, page, Linear(0, 2, 0, 34, {{0, Grey(255)}, {1, Grey(226)}}));
  Shape fold = Polygon({{22.5f, 2.5f}, {29.5f, 9.5f}, {22.5f, 9.5f}});
  c.Fill(fold, Grey(196));
  c.Fill(Polyline({{22.5f, 2.5f}, {22.5f, 9.5f}, {29.5f, 9.5f}}, 0.9f), kOutline, 0.8f);
  const Rgb bullets[] = {Hex(0xD8322A), Hex(0xF0A020), Hex(0x30B040), Hex(0x3070D0), Hex(0x30B040)};
  for (int k = 0; k < 5; ++k) {
    float y = 12.5f + k * 4.2f;
    c.Fill(Rect(8.5f, y, 11.5f, y + 2.4f), bullets[k]);
    c.Fill(Rect(13.5f, y + 0.5f, k % 2 ? 23.5f : 26.5f, y + 1.7f), Grey(120));
  }
  Piece(c, Stroke(27.5f, 27.5f, 34.0f, 34.0f, 3.6f),
        Linear(27, 27, 34, 34, {{0, Hex(0x8A5A2A)}, {1, Hex(0x4A2A10)}}));
  Shape lens = Ring(23.5f, 23.5f, 4.8f, 7.0f);
  Piece(c, lens, Metal(17, 17, 30, 30));
  c.Fill(Circle(23.5f, 23.5f, 4.8f), Hex(0xBFE0FF), 0.45f);
  c.Fill(Ellipse(22.0f, 21.8f, 2.2f, 1.2f), kWhite, 0.8f);
  return c;
}

Canvas GlyphPager() {  // pager with its radio waves
  Canvas c = GlyphCanvas();
  Shape body = RoundRect(3.5f, 11.5f, 28.5f, 33.5f, 4);
  Piece(c, body, Linear(0, 11, 0, 34, {{0, Hex(0x5C6270)}, {1, Hex(0x23262E)}}));
  Shape lcd = RoundRect(6.5f, 14.5f, 25.5f, 23.5f, 1.2f);
  c.Fill(lcd, Linear(0, 14, 0, 24, {{0, Hex(0xB4D89A)}, {1, Hex(0x86B070)}}));
  c.Fill(Rect(8.5f, 16.5f, 19.5f, 18.3f), Hex(0x29401E));
  c.Fill(Rect(8.5f, 19.8f, 23.0f, 21.6f), Hex(0x29401E));
  for (int k = 0; k < 3; ++k) {
    float x = 10.0f + k * 6.0f;
    c.Fill(Circle(x, 28.3f, 1.9f), k == 1 ? Hex(0xE04030) : Grey(190));
  }
  for (float r : {4.0f, 7.5f, 11.0f})
    c.Fill(Arc(27.5f, 11.0f, r, 1.6f, 1.02f * kPi, 1.48f * kPi), Hex(0x1F5FC8));
  return c;
}

Canvas GlyphEmail() {  // envelope
  Canvas c = GlyphCanvas();
  Shape env = RoundRect(2.5f, 7.5f, 35.5f, 29.5f, 1.5f);
  Piece(c, env, Linear(0, 7, 0, 30, {{0, Hex(0xFFFDF4)}, {1, Hex(0xE6DEC4)}}));
  c.Fill(Polyline({{3.5f, 28.5f}, {15.0f, 18.0f}}, 1.0f), Grey(150));
  c.Fill(Polyline({{34.5f, 28.5f}, {23.0f, 18.0f}}, 1.0f), Grey(150));
  Shape flap = Polygon({{3, 8}, {35, 8}, {19, 21.5f}});
  c.Fill(flap, Linear(0, 8, 0, 22, {{0, Hex(0xF4EEDA)}, {1, Hex(0xD8CEAE)}}));
  c.Fill(Polyline({{3.2f, 8.2f}, {19, 21.5f}, {34.8f, 8.2f}}, 1.2f), kOutline);
  c.Fill(Circle(19, 21, 2.6f), Hex(0xC8302A));
  c.Fill(Circle(18.4f, 20.4f, 0.9f), Hex(0xFF9A90), 0.9f);
  return c;
}

Canvas GlyphUpsSetup() {  // the unit with a spanner
  Canvas c = GlyphCanvas();
  Shape tower = RoundRect(4.5f, 2.5f, 21.5f, 33.5f, 2);
  Piece(c, tower, Linear(4, 0, 22, 0, {{0, Hex(0x6A707C)}, {0.3f, Hex(0x464B55)}, {1, Hex(0x1E2026)}}));
  c.Fill(Rect(7.5f, 6.5f, 18.5f, 11.5f), Hex(0x5FC8E8));
  c.Fill(Rect(7.5f, 6.5f, 18.5f, 7.4f), Hex(0x2A6A80));
  const Rgb leds[] = {Hex(0x40F060), Hex(0xFFB020), Hex(0xFF4030)};
  for (int k = 0; k < 3; ++k) c.Fill(Circle(9.0f + k * 4.0f, 15.5f, 1.3f), leds[k]);
  for (float y = 20.5f; y < 31; y += 2.5f) c.Fill(Rect(7.5f, y, 18.5f, y + 1.0f), Grey(20), 0.8f);
  // Spanner across the lower right.
  const Pt head{29.5f, 11.0f};
  const float ux = 0.7071f, uy = -0.7071f;  // from the handle towards the jaw
  Shape jaw = Polygon({{head.x + uy * 2.2f, head.y - ux * 2.2f},
                       {head.x - uy * 2.2f, head.y + ux * 2.2f},
                       {head.x - uy * 2.2f + ux * 9, head.y + ux * 2.2f + uy * 9},
                       {head.x + uy * 2.2f + ux * 9, head.y - ux * 2.2f + uy * 9}});
  Shape spanner =
      Subtract(Union(Circle(head.x, head.y, 5.6f), Stroke(head.x, head.y, 16.5f, 31.0f, 4.2f)), jaw);
  Piece(c, spanner, Metal(16, 6, 34, 30));
  return c;
}

// ---------------------------------------------------------------- OK and Cancel glyphs of the dialogs

// Two 18 x 18 pictures side by side: the mark in colour, then the same mark greyed and engraved for the
// disabled button. The key colour stays in the lower left corner of each.
Canvas DialogGlyph(const Shape& mark, const Paint& paint, Rgb edge) {
  Canvas c(36, 18, kGlyphKey);
  c.Fill(Translate(mark, 0.6f, 0.8f), kBlack, 0.25f);
  c.Fill(Dilate(mark), edge);
  c.Fill(mark, paint);
  Shape greyed = Translate(mark, 18, 0);
  c.Fill(Translate(greyed, 1, 1), kWhite);
  c.Fill(greyed, Grey(128));
  c.Set(0, 17, kGlyphKey);
  c.Set(18, 17, kGlyphKey);
  return c;
}

Canvas GlyphDialogOk() {  // a tick
  Shape tick = Polyline({{3.2f, 9.6f}, {7.0f, 13.6f}, {14.8f, 4.0f}}, 2.8f);
  return DialogGlyph(tick, Linear(0, 3, 0, 15, {{0, Hex(0x5BE36A)}, {1, Hex(0x138A2A)}}), Hex(0x0B4F18));
}

Canvas GlyphDialogCancel() {  // a cross
  Shape cross = Union(Stroke(4.5f, 4.5f, 13.5f, 13.5f, 2.8f), Stroke(13.5f, 4.5f, 4.5f, 13.5f, 2.8f));
  return DialogGlyph(cross, Linear(0, 3, 0, 15, {{0, Hex(0xFF6A5A)}, {1, Hex(0xB4150E)}}), Hex(0x5E0B06));
}

// ---------------------------------------------------------------- screw head (Image24)

Canvas DrawScrew() {
  Canvas c(22, 24, Grey(kPlateGrey));
  BrushedMetal(c, 0x5C4Eu, kPlateGrey, 2.6f);
  Screw(c, 11, 12, 7.5f, 0.85f);
  return c;
}

// ---------------------------------------------------------------- icon

struct IconArt {
  Canvas colour;
  std::vector<bool> opaque;
};

IconArt DrawIconImage(int size) {
  const float s = static_cast<float>(size) / 32;
  const float cx = 16 * s, cy = 16 * s;
  Canvas c(size, size, Grey(192));
  Shape outline = Circle(cx, cy, 15.6f * s);
  c.Fill(outline, Grey(24));
  c.Fill(Circle(cx, cy, 14.6f * s), Linear(0, 0, static_cast<float>(size), static_cast<float>(size),
                                           {{0, Grey(240)}, {0.5f, Grey(180)}, {1, Grey(96)}}));
  c.Fill(Circle(cx, cy, 12.2f * s), Hex(0x26282E));
  const float a0 = 0.4f * kPi, a1 = 1.6f * kPi;
  if (size >= 32) {
    for (int k = 0; k <= 6; ++k) {
      float a = a0 + k * (a1 - a0) / 6;
      Pt p = Polar(cx, cy, 7.0f, a), q = Polar(cx, cy, 9.6f, a);
      c.Fill(Stroke(p.x, p.y, q.x, q.y, 1.2f), kWhite);
    }
    c.Fill(Arc(cx, cy, 9.6f, 1.3f, a0, 1.4f * kPi), kWhite);
    c.Fill(Arc(cx, cy, 9.6f, 1.3f, 1.4f * kPi, a1), Hex(0xE6281E));
  } else {
    c.Fill(Arc(cx, cy, 4.6f, 1.2f, a0, a1), kWhite);
  }
  Pt tip = Polar(cx, cy, 10.0f * s, 1.22f * kPi);
  c.Fill(Stroke(cx, cy, tip.x, tip.y, size >= 32 ? 1.9f : 1.4f), Hex(0xE6281E));
  c.Fill(Circle(cx, cy, 2.2f * s), Grey(200));
  if (size >= 32) c.Fill(Circle(cx, cy + 7.2f, 2.0f), Hex(0x28BE3C));

  IconArt art{c, std::vector<bool>(static_cast<std::size_t>(size) * size)};
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x)
      art.opaque[static_cast<std::size_t>(y) * size + x] = outline.at(x + 0.5f, y + 0.5f) >= 0.5f;
  }
  return art;
}

const std::vector<Rgb>& IconPalette() {
  static const std::vector<Rgb> palette = {Hex(0x000000), Hex(0xFFFFFF), Hex(0x26282E), Hex(0x505460),
                                           Hex(0x80848C), Hex(0xB0B4BA), Hex(0xDCDEE2), Hex(0xE6281E),
                                           Hex(0x8C140F), Hex(0x28BE3C), Hex(0x146E23), Hex(0xFAC828),
                                           Hex(0x3C5AC8), Hex(0x14181C), Hex(0x686C74), Hex(0xC8CACE)};
  return palette;
}

// --- The installation launcher ---

// A hue on the colour wheel (0..1), as the light that an optical disc's tracks split.
Rgb Spectrum(float h) {
  h -= std::floor(h);
  const float r = std::fabs(h * 6 - 3) - 1, g = 2 - std::fabs(h * 6 - 2), b = 2 - std::fabs(h * 6 - 4);
  auto c = [](float v) { return 255 * std::min(1.0f, std::max(0.0f, v)); };
  return Rgb{c(r), c(g), c(b)};
}

// The data side of a disc about (cx, cy): silver with a rainbow sheen that turns with the angle, brighter on
// two opposite sectors where the light falls, and faint track rings.
Paint DiscSurface(float cx, float cy, float outer) {
  return [=](float x, float y) {
    const float dx = x - cx, dy = y - cy, r = std::sqrt(dx * dx + dy * dy);
    const float a = std::atan2(dy, dx);
    const float sheen = 0.5f + 0.5f * std::cos(2 * (a - 0.6f));
    const Rgb silver = Lerp(Hex(0x8C939E), Hex(0xE4E8EE), sheen);
    const Rgb hue = Spectrum(a / (2 * kPi) * 2 + r / outer * 0.35f);
    const float rings = 0.04f * std::sin(r * 1.7f);
    return Scale(Lerp(silver, hue, 0.18f + 0.22f * sheen), 1 + rings);
  };
}

void DrawDisc(Canvas& c, float cx, float cy, float outer, bool small) {
  const float hub = outer * 0.34f, clear = outer * 0.26f, hole = outer * 0.11f;
  c.Fill(Subtract(Circle(cx, cy, outer), Circle(cx, cy, hub)), DiscSurface(cx, cy, outer));
  // The transparent ring round the hub and the stacking ring on it.
  c.Fill(Subtract(Circle(cx, cy, hub), Circle(cx, cy, clear)), Hex(0xB8C0CC), 0.55f);
  c.Fill(Ring(cx, cy, clear * 0.78f, clear), Hex(0xDDE3EA), 0.6f);
  c.Fill(Subtract(Circle(cx, cy, clear * 0.78f), Circle(cx, cy, hole)), Hex(0xA9B2BF), 0.35f);
  // Edges: the rim and the hole catch a thin light line.
  c.Fill(Ring(cx, cy, outer - (small ? 1.0f : 1.6f), outer), Hex(0xF4F6F8), 0.8f);
  c.Fill(Ring(cx, cy, hole, hole + (small ? 0.8f : 1.4f)), Hex(0xF4F6F8), 0.7f);
}

Canvas DrawSetupBackdrop() {
  const int w = 452, h = 452;
  Canvas c(w, h, Rgb{});
  // Night-blue ground, lighter towards the lower right where the disc lies.
  c.Fill(Rect(0, 0, w, h),
         Radial(380, 400, 560, {{0, Hex(0x2E4F86)}, {0.55f, Hex(0x1A2F57)}, {1, Hex(0x0C1630)}}));
  // Soft diagonal light streaks.
  for (int k = 0; k < 5; ++k) {
    const float x0 = -80.0f + k * 120.0f;
    c.Fill(Polygon({{x0, 0},
                    {x0 + 40, 0},
                    {x0 + 40 + 260, static_cast<float>(h)},
                    {x0 + 260, static_cast<float>(h)}}),
           Hex(0x9CB8E8), 0.035f);
  }
  // A faint column of guide lines behind the links.
  for (int row = 0; row < 5; ++row) {
    const float y = 44.0f + row * 68.0f;
    c.Fill(Rect(24, y, 390, y + 1), Linear(24, 0, 390, 0, {{0, Hex(0x7FA6E0)}, {1, Hex(0x1A2F57)}}), 0.45f);
  }
  // The disc, partly out of the frame, with its shadow.
  DropShadow(c, Circle(372, 392, 176), 6, 8, 10, Hex(0x02060E), 0.6f);
  DrawDisc(c, 372, 392, 176, false);
  // The suite's name at the foot.
  const TextStyle big{4, true, 1};
  c.Fill(TextShape("KORVAL", 26, 392, w, h, big), Hex(0x000000), 0.5f);
  c.Fill(TextShape("KORVAL", 24, 390, w, h, big), Hex(0xDCE6F5));
  const TextStyle small{2, true, 1};
  c.Fill(TextShape("SETUP", 26, 426, w, h, small), Hex(0x8FB0E0));
  return c;
}

// The launcher's icon: a disc with a green arrow pointing into it.
const std::vector<Rgb>& SetupIconPalette() {
  static const std::vector<Rgb> palette = {Hex(0x000000), Hex(0xFFFFFF), Hex(0x8C939E), Hex(0xB8C0CC),
                                           Hex(0xDDE3EA), Hex(0x5A616C), Hex(0x2E4F86), Hex(0x1A2F57),
                                           Hex(0xE05A9E), Hex(0x5AB4E6), Hex(0xE6C84A), Hex(0x7AD06A),
                                           Hex(0x28BE3C), Hex(0x146E23), Hex(0xC8A0E0), Hex(0x303640)};
  return palette;
}

IconArt DrawSetupIconImage() {
  const int size = 32;
  const float cx = 16, cy = 16;
  Canvas c(size, size, Grey(192));
  // Flat palette colours only, so that the 16-colour image stays clean: silver, two bright sectors where the
  // light falls, each edged with a band of split colour.
  const Paint surface = [=](float x, float y) {
    const float a = std::atan2(y - cy, x - cx), sheen = std::cos(2 * (a - 0.6f));
    if (sheen > 0.82f) return Hex(0xDDE3EA);
    if (sheen > 0.55f) return std::sin(2 * (a - 0.6f)) > 0 ? Hex(0xC8A0E0) : Hex(0x5AB4E6);
    return Hex(0xB8C0CC);
  };
  const Shape disc = Subtract(Circle(cx, cy, 15.4f), Circle(cx, cy, 2.2f));
  c.Fill(disc, Hex(0x5A616C));
  c.Fill(Subtract(Circle(cx, cy, 14.4f), Circle(cx, cy, 5.6f)), surface);
  c.Fill(Subtract(Circle(cx, cy, 5.6f), Circle(cx, cy, 3.2f)), Hex(0x8C939E));
  // The arrow: shaft and head, outlined dark so it stands out on the silver.
  const Shape arrow = Union(Rect(20, 15, 25, 24), Polygon({{16.5f, 23}, {28.5f, 23}, {22.5f, 30.5f}}));
  c.Fill(arrow, Hex(0x146E23));
  c.Fill(Union(Rect(21, 16, 24, 24), Polygon({{18.5f, 24}, {26.5f, 24}, {22.5f, 29}})), Hex(0x28BE3C));
  IconArt art{c, std::vector<bool>(static_cast<std::size_t>(size) * size)};
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x)
      art.opaque[static_cast<std::size_t>(y) * size + x] =
          disc.at(x + 0.5f, y + 0.5f) >= 0.5f || arrow.at(x + 0.5f, y + 0.5f) >= 0.5f;
  }
  return art;
}

}  // namespace

const std::vector<Picture>& Pictures() {
  static const std::vector<Picture> pictures = [] {
    const Rgb off = kRed;
    std::vector<Picture> p = {
        {"Image20.bmp", 640, 479, Format::Bmp24, "Image20",
         "instrument plate: brushed aluminium, corner screws, maker's mark, toolbar channel, two grooves "
         "between the "
         "gauge columns, lamp housings, two framed fields behind the schedule values",
         DrawPlate},
        {"dial.bmp", 140, 140, Format::Bmp24,
         "Image22 (blank face); Image1..Image6 before their first needle",
         "dial face: grey bezel, dark face, white scale arc 0.4 pi..1.6 pi about (70, 70) with ticks every "
         "0.05 pi "
         "(major every 0.2 pi), red band on the last fifth, hub socket, white field behind the readout panel",
         DrawDial},
        {"Image7.bmp", 73, 46, Format::Bmp24, "Image7", "AVR lamp \"Normal\": green, lit",
         [] {
           return DrawLamp(73, 46, {"Normal", "", kGreen, true, Mark::None});
         }},
        {"Image10.bmp", 73, 46, Format::Bmp32, "Image10", "AVR lamp \"Boost\": amber, lit, arrow up",
         [] {
           return DrawLamp(73, 46, {"Boost", "", kAmber, true, Mark::Up});
         }},
        {"Image11.bmp", 73, 46, Format::Bmp32, "Image11", "AVR lamp \"Buck\": amber, lit, arrow down",
         [] {
           return DrawLamp(73, 46, {"Buck", "", kAmber, true, Mark::Down});
         }},
        {"Image12.bmp", 73, 46, Format::Bmp24, "Image12", "AVR lamp \"On Line\": green, lit",
         [] {
           return DrawLamp(73, 46, {"On Line", "", kGreen, true, Mark::None});
         }},
        {"Image23.bmp", 73, 46, Format::Bmp24, "Image23", "AVR lamp \"Bypass\": amber, lit",
         [] {
           return DrawLamp(73, 46, {"Bypass", "", kAmber, true, Mark::None});
         }},
        {"Image8.jpg", 73, 54, Format::Jpeg, "Image8", "line lamp \"Utility Normal\": green, lit (two lines)",
         [] {
           return DrawLamp(73, 54, {"Utility", "Normal", kGreen, true, Mark::None});
         }},
        {"Image13.jpg", 73, 54, Format::Jpeg, "Image13", "line lamp \"Line fail\": amber, lit",
         [] {
           return DrawLamp(73, 54, {"Line fail", "", kAmber, true, Mark::None});
         }},
        {"Image14.jpg", 73, 54, Format::Jpeg, "Image14", "line lamp \"Low Bat\": red, lit",
         [] {
           return DrawLamp(73, 54, {"Low Bat", "", kRed, true, Mark::None});
         }},
        {"Image9.bmp", 73, 54, Format::Bmp32, "Image9", "unit lamp \"UPS OK\": green, lit",
         [] {
           return DrawLamp(73, 54, {"UPS OK", "", kGreen, true, Mark::None});
         }},
        {"Image15.bmp", 73, 54, Format::Bmp32, "Image15", "unit lamp \"UPS Test\": amber, lit",
         [] {
           return DrawLamp(73, 54, {"UPS Test", "", kAmber, true, Mark::None});
         }},
        {"Image16.bmp", 73, 54, Format::Bmp32, "Image16", "unit lamp \"UPS Fault\": red, lit",
         [] {
           return DrawLamp(73, 54, {"UPS Fault", "", kRed, true, Mark::None});
         }},
        {"Image17.bmp", 73, 54, Format::Bmp32, "Image17",
         "unit lamp \"UPS OFF\": red lens, unlit (output off)",
         [off] {
           return DrawLamp(73, 54, {"UPS OFF", "", off, false, Mark::None});
         }},
        {"Image18.bmp", 73, 54, Format::Bmp32, "Image18", "unit lamp \"Over Load\": red, lit",
         [] {
           return DrawLamp(73, 54, {"Over Load", "", kRed, true, Mark::None});
         }},
        {"Image19.bmp", 73, 54, Format::Bmp32, "Image19", "unit lamp \"Bat Bad\": red, lit",
         [] {
           return DrawLamp(73, 54, {"Bat Bad", "", kRed, true, Mark::None});
         }},
        {"BitBtn1.bmp", 38, 36, Format::Bmp24, "BitBtn1 (Config)", "gear", Glyph(GlyphConfig)},
        {"BitBtn2.bmp", 38, 36, Format::Bmp24, "BitBtn2 (Self Test)", "charged battery with a green tick",
         Glyph(GlyphSelfTest)},
        {"BitBtn3.bmp", 38, 36, Format::Bmp24, "BitBtn3 (COM Port)", "nine-pin serial plug with its cable",
         Glyph(GlyphComPort)},
        {"BitBtn4.bmp", 38, 36, Format::Bmp24, "BitBtn4 (Schedule)", "calendar page with a clock",
         Glyph(GlyphSchedule)},
        {"BitBtn5.bmp", 38, 36, Format::Bmp24, "BitBtn5 (Record View)",
         "recorded trace on a screen, play sign", Glyph(GlyphRecordView)},
        {"BitBtn6.bmp", 38, 36, Format::Bmp24, "BitBtn6 (Event View)",
         "event list with coloured marks, magnifier", Glyph(GlyphEventView)},
        {"BitBtn7.bmp", 38, 36, Format::Bmp24, "BitBtn7 (UPS Setup)", "the unit's tower with a spanner",
         Glyph(GlyphUpsSetup)},
        {"BitBtn8.bmp", 38, 36, Format::Bmp24, "BitBtn8 (Pager)", "pager with radio waves",
         Glyph(GlyphPager)},
        {"BitBtn9.bmp", 38, 36, Format::Bmp24, "BitBtn9 (E-Mail)", "sealed envelope", Glyph(GlyphEmail)},
        {"GlyphOK.bmp", 36, 18, Format::Bmp24, "BitBtn1 of the three dialogs (OK)",
         "green tick, and the same greyed for the disabled button", GlyphDialogOk},
        {"GlyphCancel.bmp", 36, 18, Format::Bmp24, "BitBtn2 of the three dialogs (Cancel)",
         "red cross, and the same greyed for the disabled button", GlyphDialogCancel},
        {"Image24.bmp", 22, 24, Format::Bmp24, "Image24 (on Panel13)", "slotted screw head on brushed plate",
         DrawScrew},
        {"korval.ico", 32, 32, Format::Icon, "program icon",
         "gauge with red needle (32 x 32 and 16 x 16, 16 colours)", nullptr},
        {"setup/Image1.bmp", 452, 452, Format::Bmp24, "Image1 of the launcher (stretched to 495 x 465)",
         "installation-disc backdrop: night-blue ground, a silver disc with a rainbow sheen at the "
         "lower right, guide lines behind the links, the suite's name at the foot",
         DrawSetupBackdrop},
        {"setup/setup.ico", 32, 32, Format::Icon, "launcher icon",
         "disc with a green arrow (32 x 32, 16 colours)", nullptr},
    };
    return p;
  }();
  return pictures;
}

Bytes DrawIconFile(const Picture& picture) {
  if (picture.file == "setup/setup.ico") {
    IconArt art = DrawSetupIconImage();
    return EncodeIco({{&art.colour, art.opaque}}, SetupIconPalette());
  }
  return DrawIconFile();
}

Bytes DrawIconFile() {
  IconArt big = DrawIconImage(32), small = DrawIconImage(16);
  return EncodeIco({{&big.colour, big.opaque}, {&small.colour, small.opaque}}, IconPalette());
}

}  // namespace artgen
