// Random play for the sample game: a seeded events file of clicks, keys, menu picks, box
// answers, names, saves and loads, the same lines for the same seed on every machine.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "core/Rect.h"
#include "resources/SystemMenuResource.h"
#include "screens/BarButtons.h"
#include "screens/SlotList.h"

namespace qv::soak::generator {

// splitmix64: the standard library's distributions differ between implementations, and a seed
// must replay the same play everywhere.
struct Random {
  uint64_t state;
  uint64_t Next() {
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<uint64_t>(n)); }  // 0 .. n-1
  int Between(int low, int high) { return low + Below(high - low + 1); }
  bool Chance(int percent) { return Below(100) < percent; }
};

inline constexpr int kWidth = 800, kHeight = 600;

// Where the sample script puts its choices: the title's four areas, the gallery's pictures and
// its return, the three word bars and the street's two halves.
constexpr core::Rect kChoiceRects[] = {
    {290, 300, 510, 348}, {290, 362, 510, 410}, {290, 424, 510, 472}, {290, 486, 510, 534},
    {60, 180, 260, 330},  {300, 180, 500, 330}, {540, 180, 740, 330}, {290, 470, 510, 518},
    {240, 70, 640, 105},  {241, 120, 641, 155}, {242, 170, 642, 205}, {0, 0, 399, 439},
    {400, 0, 799, 439}};

// Menu picks and their weights: mostly plain picks; quitting is rare so that a run is mostly
// play, not start-up.
using namespace resources;
constexpr std::pair<uint32_t, int> kMenuPicks[] = {
    {ID_QUIT, 1},         {ID_ABOUT, 2},         {ID_FULLSCREEN, 3}, {ID_SPEED_FAST, 3},
    {ID_SPEED_NORMAL, 3}, {ID_SPEED_SLOWEST, 2}, {ID_TITLE, 4},      {ID_AUTO, 8},
    {ID_SPEED_SLOW, 2},   {ID_SPEED_FASTEST, 3}, {ID_EFFECTS, 4},    {ID_SE_100, 1},
    {ID_SE_50, 1},        {ID_SE_0, 1},          {ID_BGM_100, 1},    {ID_BGM_50, 1},
    {ID_BGM_0, 1},        {ID_SE_75, 1},         {ID_SE_25, 1},      {ID_BGM_75, 1},
    {ID_BGM_25, 1}};

// Names the entry accepts and some it refuses: empty, too long, not in code page 932.
constexpr std::string_view kNames[] = {
    "晴臣", "陽菜", "Taro", "ａｂｃ",    "", "とてもながいなまえですよ",
    "a b",  "😀",    "x",    "名前名前名"};

constexpr int kKeys[] = {0x0D, 0x20, 0x1B, 0x11, 0x10, 0x21, 0x22, 0x25,
                         0x26, 0x27, 0x28, 0x2C, 0x41, 0x5A, 0x5D};
constexpr const char* kPadButtons[] = {"a",  "b",  "x",  "y",    "back", "start",
                                       "lb", "rb", "up", "down", "left", "right"};

class Player {
 public:
  Player(uint64_t seed, size_t count) : random_{seed}, count_(count) {}

  std::string Play() {
    while (lines_ < count_) Step();
    return out_;
  }

 private:
  void Line(const std::string& line) {
    if (lines_ >= count_) return;
    out_ += line + '\n';
    ++lines_;
  }
  template <typename T, size_t N>
  const T& Pick(const T (&table)[N]) {
    return table[random_.Below(N)];
  }
  void At(const char* verb, int x, int y) {
    Line(std::string(verb) + " " + std::to_string(x) + " " + std::to_string(y));
  }
  // A point inside `r`, edges included (the hit tests differ on edges).
  void AtRect(const char* verb, const core::Rect& r) {
    At(verb, random_.Between(r.left, r.right), random_.Between(r.top, r.bottom));
  }
  void Anywhere(const char* verb) {
    // Now and then just outside the frame.
    if (random_.Chance(3)) {
      At(verb, random_.Between(-20, kWidth + 20), random_.Between(-20, kHeight + 20));
    } else {
      At(verb, random_.Below(kWidth), random_.Below(kHeight));
    }
  }
  void Bar(int button) { AtRect("click", screens::kBarButtonRects[static_cast<size_t>(button)]); }
  void Slot(int entry) { AtRect("click", screens::kSlotRects[static_cast<size_t>(entry)]); }
  void Answer() { Line(random_.Chance(70) ? "answer ok" : "answer cancel"); }
  void Name() { Line(random_.Chance(15) ? "nameclose" : "name " + std::string(Pick(kNames))); }
  void MenuPick() {
    int total = 0;
    for (const auto& pick : kMenuPicks) total += pick.second;
    int at = random_.Below(total);
    for (const auto& [id, weight] : kMenuPicks) {
      if ((at -= weight) < 0) {
        Line("menu " + std::to_string(id));
        break;
      }
    }
    // Quitting and the return to the title ask first.
    if (random_.Chance(60)) Answer();
    Anywhere("rclick");
  }
  void Save() {
    Bar(screens::kSaveButton);
    if (random_.Chance(20)) Line("wait " + std::to_string(random_.Below(200)));
    if (random_.Chance(50)) Answer();
    Slot(random_.Between(1, 12));
    if (random_.Chance(50)) Slot(0);
  }
  void Load() {
    Bar(screens::kLoadButton);
    if (random_.Chance(20)) Line("wait " + std::to_string(random_.Below(200)));
    Slot(random_.Between(random_.Chance(10) ? 0 : 1, 12));
  }

  void Step() {
    const int roll = random_.Below(1000);
    if (roll < 300) {
      Anywhere("click");
    } else if (roll < 380) {
      Bar(random_.Below(4));
    } else if (roll < 460) {
      Slot(random_.Below(13));
    } else if (roll < 560) {
      AtRect("click", Pick(kChoiceRects));
      if (random_.Chance(25)) Name();
    } else if (roll < 620) {
      if (random_.Chance(50)) {
        Anywhere("move");
      } else {
        AtRect("move", Pick(kChoiceRects));
      }
    } else if (roll < 660) {
      // Releases as the original takes them, and the presses, wheel and pad of the additions.
      const std::string key = std::to_string(random_.Chance(30) ? random_.Below(256) : Pick(kKeys));
      const int kind = random_.Below(4);
      if (kind == 0) Line("key " + key);
      if (kind == 1) Line("keydown " + key);
      if (kind == 2)
        Line("wheel " + std::to_string(random_.Chance(50) ? 1 : -random_.Between(1, 3)));
      if (kind == 3) Line(random_.Chance(10) ? "padplug" : "pad " + std::string(Pick(kPadButtons)));
    } else if (roll < 675) {
      Anywhere("rclick");
    } else if (roll < 735) {
      MenuPick();
    } else if (roll < 765) {
      Answer();
    } else if (roll < 790) {
      Name();
    } else if (roll < 850) {
      Save();
    } else if (roll < 900) {
      Load();
    } else if (roll < 940) {
      const int ms = random_.Chance(80) ? random_.Below(400) : random_.Below(4000);
      Line("wait " + std::to_string(ms));
    } else if (roll < 998) {
      Line("idle");
    } else {
      // A close in the middle of anything; the soak starts the game again.
      Line("close");
    }
  }

  Random random_;
  size_t count_;
  size_t lines_ = 0;
  std::string out_;
};

}  // namespace qv::soak::generator

namespace qv::soak {

// `count` event lines (no comments), each ending in a line feed.
inline std::string GenerateEvents(uint64_t seed, size_t count) {
  return generator::Player(seed, count).Play();
}

}  // namespace qv::soak
