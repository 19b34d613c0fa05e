// The choice list: up to 48 items of 74 bytes, filled by the choice commands and hit-tested by the
// window thread.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace qv::core {

#pragma pack(push, 2)
struct ChoiceItem {
  int16_t left = 0;
  int16_t right = 0;
  int16_t top = 0;
  int16_t bottom = 0;
  char label[64] = {};  // without its colon, zero-terminated
  uint8_t condition = 0;
  uint8_t spare = 0;

  std::string_view Label() const { return {label, strnlen(label, sizeof label)}; }
  // Edges included.
  bool Holds(int x, int y) const { return left <= x && x <= right && top <= y && y <= bottom; }
};
#pragma pack(pop)
static_assert(sizeof(ChoiceItem) == 74);

// Written by the interpreter thread while inputBusy is 1 and read by the window thread only while
// it is 0; the atomic flag orders the two.
struct ChoiceTable {
  static constexpr int kCapacity = 48;
  static constexpr size_t kMaxLabel = 63;
  int32_t count = 0;
  std::array<ChoiceItem, kCapacity> items{};

  void Clear() {
    count = 0;
    items.fill(ChoiceItem{});
  }
  // The first of the listed items that holds the point, or -1.
  int HitTest(int x, int y) const {
    for (int i = 0; i < count && i < kCapacity; ++i) {
      if (items[i].Holds(x, y)) return i;
    }
    return -1;
  }
};

}  // namespace qv::core
