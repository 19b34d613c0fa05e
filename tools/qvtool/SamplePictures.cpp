// The sample game's pictures, drawn by code (see SamplePictures.h).
//
// Index: backgrounds and event images · characters · the message window, bar buttons and wait
// cursor · choice bar and save/load screens · title, transition masks and logo · the list.
#include "qvtool/SamplePictures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/Surface.h"
#include "graphics/PictureFile.h"
#include "qvtool/Painter.h"

namespace qv::tool {

namespace {

using namespace paint;

std::vector<uint8_t> Scrambled(const core::Surface& s) {
  std::vector<uint8_t> file = graphics::EncodeBitmap(s);
  graphics::ScrambleBackground(file);
  return file;
}

// ---- Backgrounds and event images ----

core::Surface Sky(int w, int h) {
  core::Surface s(w, h);
  Layer l{s};
  const int horizon = h * 7 / 10;
  Fill(l, {0, 0, w, horizon}, VerticalRamp({40, 90, 200}, {175, 215, 250}, 0, horizon));
  Fill(l, {0, horizon, w, h}, VerticalRamp({95, 165, 75}, {45, 105, 40}, horizon, h));
  Oval(l, w * 0.78, h * 0.2, 70, 70, {255, 235, 190});
  Oval(l, w * 0.78, h * 0.2, 45, 45, {255, 250, 225});
  Scatter rand(7);
  for (int cloud = 0; cloud < 4; ++cloud) {
    const double cx = 80 + rand.Next(w - 260), cy = 50 + rand.Next(h / 3);
    for (int puff = 0; puff < 5; ++puff) {
      Oval(l, cx + puff * 28, cy + (puff % 2) * 8, 34, 22, {250, 250, 255});
    }
  }
  return s;
}

core::Surface Room(int w, int h) {
  core::Surface s(w, h);
  Layer l{s};
  const int floor = h * 72 / 100;
  Fill(l, {0, 0, w, floor}, VerticalRamp({238, 224, 196}, {212, 192, 160}, 0, floor));
  Fill(l, {0, floor, w, h}, VerticalRamp({160, 110, 70}, {120, 80, 48}, floor, h));
  for (int y = floor + 24; y < h; y += 24) Fill(l, {0, y, w, y + 2}, Flat({95, 62, 38}));
  const Box window{w * 55 / 100, h * 15 / 100, w * 85 / 100, h * 50 / 100};
  Fill(l, window, Flat({250, 250, 250}));
  Fill(l, {window.left + 8, window.top + 8, window.right - 8, window.bottom - 8},
       VerticalRamp({90, 150, 230}, {190, 225, 250}, window.top, window.bottom));
  const int middle = (window.left + window.right) / 2;
  Fill(l, {middle - 3, window.top, middle + 3, window.bottom}, Flat({250, 250, 250}));
  Fill(l, {w * 8 / 100, floor - 90, w * 40 / 100, floor - 75}, Flat({130, 85, 50}));  // desk
  Fill(l, {w * 10 / 100, floor - 75, w * 10 / 100 + 12, floor + 30}, Flat({110, 70, 40}));
  Fill(l, {w * 38 / 100 - 12, floor - 75, w * 38 / 100, floor + 30}, Flat({110, 70, 40}));
  return s;
}

core::Surface Street(int w, int h) {
  core::Surface s(w, h);
  Layer l{s};
  const int road = h * 80 / 100;
  Fill(l, {0, 0, w, road}, VerticalRamp({60, 40, 110}, {250, 150, 90}, 0, road));
  Scatter rand(11);
  for (int x = 0; x < w;) {
    const int width = 60 + rand.Next(70), top = h / 3 + rand.Next(h / 3);
    Fill(l, {x, top, x + width, road}, Flat({40, 35, 60}));
    for (int wy = top + 12; wy + 14 < road; wy += 26) {
      for (int wx = x + 10; wx + 12 < x + width; wx += 22) {
        if (rand.Next(3) == 0) Fill(l, {wx, wy, wx + 12, wy + 14}, Flat({250, 220, 120}));
      }
    }
    x += width + 4;
  }
  Fill(l, {0, road, w, h}, Flat({60, 60, 70}));
  for (int x = 20; x < w; x += 90)
    Fill(l, {x, road + 50, x + 50, road + 56}, Flat({230, 230, 230}));
  return s;
}

// The street's in-game area list lights the half under the pointer: the same street, brighter.
core::Surface StreetLit(int w, int h) {
  core::Surface s = Street(w, h);
  for (size_t k = 0; k < s.SizeBytes(); ++k) {
    s.Data()[k] = static_cast<uint8_t>(s.Data()[k] + (255 - s.Data()[k]) / 3);
  }
  return s;
}

core::Surface Sakura(int w, int h) {
  core::Surface s(w, h);
  Layer l{s};
  Fill(l, {0, 0, w, h}, VerticalRamp({120, 170, 235}, {225, 235, 250}, 0, h));
  Fill(l, {w / 2 - 25, h / 2, w / 2 + 25, h}, Flat({100, 70, 55}));
  Scatter rand(3);
  for (int i = 0; i < 40; ++i) {
    Oval(l, w / 2 - 260 + rand.Next(520), 60 + rand.Next(h / 2), 40 + rand.Next(30),
         30 + rand.Next(20), Mix({245, 170, 200}, {255, 225, 235}, rand.Next(256)));
  }
  for (int i = 0; i < 120; ++i) {
    Oval(l, rand.Next(w), rand.Next(h), 4, 3, {255, 205, 220});
  }
  return s;
}

core::Surface Sunset(int w, int h) {
  core::Surface s(w, h);
  Layer l{s};
  const int sea = h * 6 / 10;
  Fill(l, {0, 0, w, sea}, VerticalRamp({70, 40, 100}, {255, 160, 80}, 0, sea));
  Oval(l, w / 2.0, sea, 80, 80, {255, 215, 120});
  Fill(l, {0, sea, w, h}, VerticalRamp({60, 50, 90}, {20, 25, 50}, sea, h));
  for (int y = sea + 10, k = 1; y < h; y += 18, ++k) {
    Fill(l, {w / 2 - 120 / k - 20, y, w / 2 + 120 / k + 20, y + 3}, Flat({255, 190, 110}));
  }
  return s;
}

core::Surface Night(int w, int h) {
  core::Surface s(w, h);
  Layer l{s};
  Fill(l, {0, 0, w, h}, VerticalRamp({5, 10, 35}, {30, 40, 90}, 0, h));
  Scatter rand(5);
  for (int i = 0; i < 300; ++i) {
    const int x = rand.Next(w), y = rand.Next(h * 3 / 4), v = 150 + rand.Next(106);
    Put(s, x, y, {v, v, v});
  }
  Oval(l, w * 0.7, h * 0.25, 60, 60, {250, 245, 210});
  Oval(l, w * 0.7 + 24, h * 0.25 - 12, 52, 52, Get(s, static_cast<int>(w * 0.7) + 70, 20));
  Fill(l, {0, h * 85 / 100, w, h}, Flat({10, 15, 25}));
  return s;
}

// ---- Characters ----

struct Look {
  Rgb hair, skin, dress, eyes;
  bool longHair;
};

// A standing figure, 300 x 500, feet on the bottom row.
core::Surface Character(const Look& look) {
  constexpr int w = 300, h = 500;
  core::Surface s = Masked(w, h);
  Layer l{s, w};
  Oval(l, 150, 125, 88, 98, look.hair);
  if (look.longHair) {
    Paint(
        l, {60, 120, 240, 335},
        [](double x, double y) {
          return x >= 64 && x <= 236 && y >= 120 && (y <= 300 || Ellipse(150, 300, 86, 30)(x, y));
        },
        VerticalRamp(look.hair, Darker(look.hair, 70), 120, 335));
  }
  Paint(
      l, {20, 212, 280, h},
      [](double x, double y) { return y >= 215 && std::abs(x - 150) <= 62 + (y - 215) / 285 * 63; },
      VerticalRamp(look.dress, Darker(look.dress, 65), 215, h));
  Fill(l, {136, 185, 164, 222}, Flat(look.skin));
  Oval(l, 150, 128, 62, 72, look.skin);
  Paint(
      l, {70, 25, 230, 112},
      [](double x, double y) {
        return Ellipse(150, 92, 72, 54)(x, y) && y < 100 + 7 * std::sin(x / 8.0);
      },
      Flat(look.hair));
  Oval(l, 126, 136, 7, 10, look.eyes);
  Oval(l, 174, 136, 7, 10, look.eyes);
  Oval(l, 150, 172, 9, 3.5, {200, 90, 95});
  return s;
}

// ---- Message window, bar buttons, wait cursor ----

// The four buttons of the bar (frame columns), in the bar's order on screen.
enum class Icon { Skip, Hide, Save, Load, Back, Start, Quit, Gallery };
struct BarButton {
  int left, right;
  Icon icon;
};
constexpr BarButton kBarButtons[] = {
    {33, 138, Icon::Skip}, {174, 278, Icon::Hide}, {352, 457, Icon::Save}, {493, 597, Icon::Load}};
constexpr int kBarRows = 22;

// A small pictogram centred on (cx, cy), `size` pixels across its longer half.
void DrawIcon(Layer l, Icon icon, double cx, double cy, double size, Rgb c) {
  const double k = size / 9.0;
  const Box box = Around(cx, cy, size + 2, size + 2);
  auto rect = [&](double x0, double y0, double x1, double y1) {
    return [=](double x, double y) { return x >= x0 && x <= x1 && y >= y0 && y <= y1; };
  };
  switch (icon) {
    case Icon::Skip:
      Shape(l, box, Triangle({cx - 9 * k, cy - 6 * k}, {cx - 9 * k, cy + 6 * k}, {cx, cy}), c);
      Shape(l, box, Triangle({cx, cy - 6 * k}, {cx, cy + 6 * k}, {cx + 9 * k, cy}), c);
      break;
    case Icon::Hide: {
      auto outer = rect(cx - 9 * k, cy - 6 * k, cx + 9 * k, cy + 6 * k);
      auto inner = rect(cx - 7 * k, cy - 2 * k, cx + 7 * k, cy + 4 * k);
      Shape(
          l, box, [&](double x, double y) { return outer(x, y) && !inner(x, y); }, c);
      break;
    }
    case Icon::Save:  // an arrow down into a tray
      Shape(l, box, rect(cx - 2 * k, cy - 8 * k, cx + 2 * k, cy), c);
      Shape(l, box, Triangle({cx - 6 * k, cy}, {cx + 6 * k, cy}, {cx, cy + 5 * k}), c);
      Shape(l, box, rect(cx - 9 * k, cy + 7 * k, cx + 9 * k, cy + 9 * k), c);
      break;
    case Icon::Load:  // an arrow up out of a tray
      Shape(l, box, Triangle({cx - 6 * k, cy - 3 * k}, {cx + 6 * k, cy - 3 * k}, {cx, cy - 9 * k}),
            c);
      Shape(l, box, rect(cx - 2 * k, cy - 3 * k, cx + 2 * k, cy + 5 * k), c);
      Shape(l, box, rect(cx - 9 * k, cy + 7 * k, cx + 9 * k, cy + 9 * k), c);
      break;
    case Icon::Back:
      Shape(l, box, Triangle({cx + 6 * k, cy - 7 * k}, {cx + 6 * k, cy + 7 * k}, {cx - 8 * k, cy}),
            c);
      break;
    case Icon::Start:
      Shape(l, box, Triangle({cx - 6 * k, cy - 8 * k}, {cx - 6 * k, cy + 8 * k}, {cx + 8 * k, cy}),
            c);
      break;
    case Icon::Gallery: {  // a framed picture with a hill
      auto outer = rect(cx - 9 * k, cy - 7 * k, cx + 9 * k, cy + 7 * k);
      auto inner = rect(cx - 7 * k, cy - 5 * k, cx + 7 * k, cy + 5 * k);
      Shape(
          l, box, [&](double x, double y) { return outer(x, y) && !inner(x, y); }, c);
      Shape(l, box, Triangle({cx - 7 * k, cy + 5 * k}, {cx + 7 * k, cy + 5 * k}, {cx, cy - 2 * k}),
            c);
      break;
    }
    case Icon::Quit:
      Shape(
          l, box,
          [&](double x, double y) {
            const double u = x - cx, v = y - cy;
            return std::abs(u) <= 8 * k && std::abs(v) <= 8 * k &&
                   (std::abs(u - v) <= 2.2 * k || std::abs(u + v) <= 2.2 * k);
          },
          c);
      break;
  }
}

// One look of the bar's buttons: plates with their pictograms, the plate tops at row `top`.
void BarButtons(Layer l, int top, Rgb plate, Rgb icon, int shift) {
  for (const BarButton& b : kBarButtons) {
    const Box box{b.left + 1, top + 1 + shift, b.right - 1, top + kBarRows + shift};
    Shape(l, {box.left - 1, box.top - 1, box.right + 1, box.bottom + 1}, RoundedRect(box, 5),
          plate);
    DrawIcon(l, b.icon, (b.left + b.right) / 2.0, top + 11.5 + shift, 7, icon);
  }
}

// The bar's normal look across the frame's width, its top at row `top`.
void BarStrip(Layer l, int top) {
  Fill(l, {0, top, l.Width(), top + kBarRows},
       VerticalRamp({25, 35, 70}, {10, 15, 35}, top, top + kBarRows), 120);
  BarButtons(l, top, {60, 80, 140}, {235, 240, 255}, 0);
}

// Shaded-band look: the strip alone, blended at the bar's row. Framed look: a whole-frame overlay
// with a translucent text box and the strip at the bottom.
core::Surface MessageWindow(int w, int h, int gameType) {
  if (gameType != 1) {
    core::Surface s = Masked(w, kBarRows);
    BarStrip({s, w}, 0);
    return s;
  }
  core::Surface s = Masked(w, h);
  Layer l{s, w};
  const Box frame{20, 438, w - 20, std::min(h - kBarRows - 2, 576)};
  Shape(l, {frame.left - 1, frame.top - 1, frame.right + 1, frame.bottom + 1},
        RoundedRect(frame, 12), {200, 210, 240});
  const Box inside{frame.left + 3, frame.top + 3, frame.right - 3, frame.bottom - 3};
  Paint(l, inside, RoundedRect(inside, 9),
        VerticalRamp({20, 30, 70}, {5, 10, 30}, inside.top, inside.bottom), 110);
  BarStrip(l, h - kBarRows);
  return s;
}

// 640 x 44 (twice that with the mask): the hover look above the pressed look, which sits one row
// lower as the bar's copy of the scene does.
core::Surface ButtonParts() {
  core::Surface s = Masked(graphics::kButtonPartsWidth / 2, graphics::kButtonPartsHeight);
  Layer l{s, graphics::kButtonPartsWidth / 2};
  BarButtons(l, 0, {120, 160, 240}, {255, 255, 255}, 0);
  BarButtons(l, kBarRows, {35, 55, 120}, {190, 195, 210}, 1);
  return s;
}

// 32 x 64: two 32 x 32 frames of a bouncing arrow on see-through green; the first frame is the
// bottom half (stored first).
core::Surface WaitCursor() {
  core::Surface s(32, 64);
  const Rgb transparent{0, 255, 0};
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 32; ++x) Put(s, x, y, transparent);
  }
  for (int frame = 0; frame < 2; ++frame) {
    const double top = (frame == 0 ? 32 : 0) + 7 + frame * 4;
    // Hard edges: a blended edge pixel would be neither the arrow nor see-through.
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 32; ++x) {
        const double py = (frame == 0 ? 32 : 0) + y + 0.5, px = x + 0.5;
        if (Triangle({5, top - 1.5}, {27, top - 1.5}, {16, top + 16})(px, py)) {
          const bool core = Triangle({8, top}, {24, top}, {16, top + 12})(px, py);
          Put(s, x, static_cast<int>(py), core ? Rgb{255, 245, 200} : Rgb{70, 45, 20});
        }
      }
    }
  }
  return s;
}

// ---- Choice bar and save/load screens ----

core::Surface ChoiceBar() {
  constexpr int w = 400, h = 40;
  core::Surface s = Masked(w, h);
  Layer l{s, w};
  const Box plate{0, 0, w, h};
  Paint(l, plate, RoundedRect(plate, 14), VerticalRamp({45, 75, 155}, {15, 30, 80}, 0, h), 50);
  Shape(l, {14, 9, 36, 31},
        [](double x, double y) { return std::abs(x - 25) + std::abs(y - 20) <= 9; },
        {250, 215, 120});
  return s;
}

constexpr Box kSlotRects[] = {{37, 95, 284, 134},   {35, 173, 376, 224},  {35, 236, 376, 293},
                              {35, 303, 376, 357},  {35, 360, 376, 427},  {35, 433, 376, 486},
                              {35, 497, 376, 552},  {404, 173, 745, 224}, {404, 236, 745, 293},
                              {404, 303, 745, 357}, {404, 360, 745, 427}, {404, 433, 745, 486},
                              {404, 497, 745, 552}};

// The save or load screen in its normal or highlighted look: a tinted veil over the game, a sign,
// the return button and twelve slot plates on which the engine writes dates and titles.
core::Surface MenuScreen(int w, int h, bool save, bool highlighted) {
  core::Surface s = Masked(w, h);
  Layer l{s, w};
  const Rgb tint = save ? Rgb{30, 60, 130} : Rgb{30, 110, 70};
  Fill(l, {0, 0, w, h}, VerticalRamp(Darker(tint, 40), Darker(tint, 15), 0, h), 80);
  const Box sign{37, 30, 284, 82};
  Shape(l, {36, 29, 286, 84}, RoundedRect(sign, 10), tint);
  DrawIcon(l, save ? Icon::Save : Icon::Load, 160.5, 56, 16, {255, 255, 255});
  const Rgb plate = highlighted ? Mix(tint, {255, 255, 255}, 70) : Darker(tint, 55);
  const Rgb edge = highlighted ? Rgb{255, 240, 180} : Mix(tint, {255, 255, 255}, 60);
  for (size_t i = 0; i < std::size(kSlotRects); ++i) {
    const Box r = kSlotRects[i];
    Shape(l, {r.left - 1, r.top - 1, r.right + 2, r.bottom + 2}, RoundedRect(r, 8), edge);
    const Box in{r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
    Shape(l, r, RoundedRect(in, 6), plate);
    if (i == 0) DrawIcon(l, Icon::Back, r.left + 24, (r.top + r.bottom) / 2.0, 9, edge);
  }
  return s;
}

// ---- Title, transition masks, logo ----

// The title's four items (start, load, gallery, quit), which the script's selarea names.
Box TitleItem(int w, int k) {
  return {w / 2 - 110, 300 + 62 * k, w / 2 + 110, 348 + 62 * k};
}

core::Surface Title(int w, int h, bool highlighted) {
  core::Surface s(w, h);
  Layer l{s};
  Fill(l, {0, 0, w, h}, VerticalRamp({15, 20, 60}, {70, 50, 110}, 0, h));
  Oval(l, w / 2.0, h * 0.28, 130, 130, {60, 70, 140});
  Oval(l, w / 2.0, h * 0.28, 110, 110, {245, 200, 215});
  const Icon icons[] = {Icon::Start, Icon::Load, Icon::Gallery, Icon::Quit};
  for (int k = 0; k < 4; ++k) {
    const Box b = TitleItem(w, k);
    const Rgb plate = highlighted ? Rgb{250, 215, 120} : Rgb{45, 50, 100};
    const Rgb mark = highlighted ? Rgb{60, 40, 20} : Rgb{220, 225, 250};
    Shape(l, {b.left - 1, b.top - 1, b.right + 1, b.bottom + 1}, RoundedRect(b, 12), plate);
    DrawIcon(l, icons[k], (b.left + b.right) / 2.0, (b.top + b.bottom) / 2.0, 12, mark);
  }
  return s;
}

// The gallery's three event images and its back button, which the script's flagselect names.
Box GalleryItem(int w, int k) {
  return {w / 2 - 340 + 240 * k, 180, w / 2 - 140 + 240 * k, 330};
}
Box GalleryBack(int w, int h) {
  return {w / 2 - 110, h - 130, w / 2 + 110, h - 82};
}

enum class GalleryLook { Locked, Unlocked, Hovered };

core::Surface Gallery(int w, int h, GalleryLook look) {
  core::Surface s(w, h);
  Layer l{s};
  Fill(l, {0, 0, w, h}, VerticalRamp({25, 20, 45}, {60, 45, 80}, 0, h));
  const core::Surface images[] = {Sakura(w, h), Sunset(w, h), Night(w, h)};
  const Rgb frame = look == GalleryLook::Hovered ? Rgb{250, 215, 120} : Rgb{200, 200, 220};
  for (int k = 0; k < 3; ++k) {
    const Box b = GalleryItem(w, k);
    Fill(l, b, Flat(frame));
    const Box in{b.left + 4, b.top + 4, b.right - 4, b.bottom - 4};
    if (look == GalleryLook::Locked) {
      Fill(l, in, Flat({55, 55, 75}));
      DrawIcon(l, Icon::Quit, (in.left + in.right) / 2.0, (in.top + in.bottom) / 2.0, 20,
               {120, 120, 150});
      continue;
    }
    // The event image, shrunk by picking pixels.
    const int tw = in.right - in.left, th = in.bottom - in.top;
    for (int v = 0; v < th; ++v) {
      for (int u = 0; u < tw; ++u)
        Put(s, in.left + u, in.top + v, Get(images[k], u * w / tw, v * h / th));
    }
  }
  const Box back = GalleryBack(w, h);
  const Rgb plate = look == GalleryLook::Hovered ? Rgb{250, 215, 120} : Rgb{45, 50, 100};
  const Rgb mark = look == GalleryLook::Hovered ? Rgb{60, 40, 20} : Rgb{220, 225, 250};
  Shape(l, {back.left - 1, back.top - 1, back.right + 1, back.bottom + 1}, RoundedRect(back, 12),
        plate);
  DrawIcon(l, Icon::Back, (back.left + back.right) / 2.0, (back.top + back.bottom) / 2.0, 12, mark);
  return s;
}

// Mask indices stored bottom-up: `level(x, y)` for each pixel; lighter entries move first.
template <class Level>
std::vector<uint8_t> TransitionMask(int w, int h, const Level& level) {
  std::vector<uint8_t> indices(static_cast<size_t>(w) * static_cast<size_t>(h));
  for (int y = 0; y < h; ++y) {
    uint8_t* row = &indices[static_cast<size_t>(h - 1 - y) * static_cast<size_t>(w)];
    for (int x = 0; x < w; ++x) row[x] = static_cast<uint8_t>(std::clamp(level(x, y), 0, 255));
  }
  return indices;
}

core::Surface Logo(int w, int h) {
  core::Surface s(w, h);
  Layer l{s};
  const double cx = w / 2.0, cy = h / 2.0 - 20;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const double d = std::hypot(x - cx, y - cy) / std::hypot(cx, cy);
      Put(s, x, y, Mix({20, 30, 70}, {0, 0, 0}, static_cast<int>(d * 255)));
    }
  }
  Paint(
      l, Around(cx, cy, 125, 125),
      [&](double x, double y) {
        const double d = std::hypot(x - cx, y - cy);
        return d <= 122 && d >= 110;
      },
      Flat({235, 235, 245}));
  Shape(l, Around(cx, cy, 80, 80),
        [&](double x, double y) { return std::abs(x - cx) + std::abs(y - cy) <= 78; },
        {240, 190, 90});
  Shape(l, Around(cx, cy, 40, 40),
        [&](double x, double y) { return std::abs(x - cx) + std::abs(y - cy) <= 36; },
        {20, 30, 70});
  Fill(l,
       {static_cast<int>(cx) - 150, static_cast<int>(cy) + 160, static_cast<int>(cx) + 150,
        static_cast<int>(cy) + 164},
       Flat({235, 235, 245}));
  return s;
}

}  // namespace

std::vector<SamplePicture> SamplePictures(int width, int height, int gameType) {
  const int w = width, h = height;
  std::vector<SamplePicture> pictures;
  auto plain = [&](std::string path, const core::Surface& s) {
    pictures.push_back({std::move(path), graphics::EncodeBitmap(s)});
  };
  auto scrambled = [&](std::string path, const core::Surface& s) {
    pictures.push_back({std::move(path), Scrambled(s)});
  };
  scrambled("cg\\bg\\sky.bmp", Sky(w, h));
  scrambled("cg\\bg\\room.bmp", Room(w, h));
  scrambled("cg\\bg\\street.bmp", Street(w, h));
  scrambled("cg\\bg\\title.bmp", Title(w, h, false));
  // Event images lie directly under cg\ so that their number marks them as seen.
  scrambled("cg\\01sakura.bmp", Sakura(w, h));
  scrambled("cg\\02sunset.bmp", Sunset(w, h));
  scrambled("cg\\03night.bmp", Night(w, h));
  plain("cg\\chara\\hina.bmp",
        Character({{95, 55, 40}, {255, 225, 205}, {235, 125, 155}, {70, 40, 30}, true}));
  plain("cg\\chara\\aoi.bmp",
        Character({{35, 35, 70}, {250, 220, 200}, {80, 125, 205}, {30, 30, 60}, false}));
  plain("cg\\menu\\title_on.bmp", Title(w, h, true));
  plain("cg\\menu\\street_on.bmp", StreetLit(w, h));
  plain("cg\\menu\\bar_a.bmp", MessageWindow(w, h, gameType));
  plain("cg\\menu\\btnprts.bmp", ButtonParts());
  plain("cg\\menu\\waitcur.bmp", WaitCursor());
  plain("cg\\menu\\menubar.bmp", ChoiceBar());
  plain("cg\\menu\\save_off.bmp", MenuScreen(w, h, true, false));
  plain("cg\\menu\\save_on.bmp", MenuScreen(w, h, true, true));
  plain("cg\\menu\\load_off.bmp", MenuScreen(w, h, false, false));
  plain("cg\\menu\\load_on.bmp", MenuScreen(w, h, false, true));
  plain("cg\\menu\\logo.bmp", Logo(w, h));
  plain("cg\\menu\\gallery_off.bmp", Gallery(w, h, GalleryLook::Locked));
  plain("cg\\menu\\gallery_on.bmp", Gallery(w, h, GalleryLook::Unlocked));
  plain("cg\\menu\\gallery_hover.bmp", Gallery(w, h, GalleryLook::Hovered));
  const double cx = w / 2.0, cy = h / 2.0, far = std::hypot(cx, cy);
  pictures.push_back({"cg\\mask\\circle.bmp",
                      graphics::EncodeMask(
                          w, h, TransitionMask(w, h, [&](int x, int y) {
                            return 255 - static_cast<int>(std::hypot(x - cx, y - cy) / far * 255.0);
                          }))});
  pictures.push_back({"cg\\mask\\diagonal.bmp",
                      graphics::EncodeMask(w, h, TransitionMask(w, h, [&](int x, int y) {
                                             return 255 - (x + y) * 255 / std::max(w + h - 2, 1);
                                           }))});
  return pictures;
}

}  // namespace qv::tool
