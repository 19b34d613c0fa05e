// The 1592-byte game-state record: everything a saved game holds, byte for byte.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace qv::core {

class GameState {
 public:
  static constexpr size_t kSize = 1592;
  static constexpr size_t kPositionOffset = 0;
  static constexpr size_t kEventFlagsOffset = 4;
  static constexpr size_t kEventFlagCount = 40;
  static constexpr size_t kPointsOffset = 164;
  static constexpr size_t kPointCount = 10;
  static constexpr size_t kStatusWindowOffset = 204;
  static constexpr size_t kSpriteXOffset = 208;
  static constexpr size_t kBackgroundNameOffset = 216;
  static constexpr size_t kSpriteFilesOffset = 476;
  static constexpr size_t kSpriteActiveOffset = 996;
  static constexpr size_t kMusicFileNameOffset = 998;
  static constexpr size_t kPlayerNameOffset = 1258;
  static constexpr size_t kReturnLabelOffset = 1269;
  static constexpr size_t kStateTitleOffset = 1333;
  static constexpr size_t kPathSize = 260;
  static constexpr size_t kPlayerNameSize = 11;
  static constexpr size_t kReturnLabelSize = 64;
  static constexpr size_t kStateTitleSize = 256;

  void Clear() { bytes_.fill(0); }
  std::span<uint8_t, kSize> Bytes() { return bytes_; }
  std::span<const uint8_t, kSize> Bytes() const { return bytes_; }

  uint32_t Position() const;
  void SetPosition(uint32_t position);

  // Event flag and point numbers are not checked by the scripts' commands: old scripts may rely
  // on a number outside the tables reaching the neighbouring field the layout places there. A
  // number whose 4-byte slot lies inside the record acts on that slot; any other is nothing.
  std::optional<size_t> EventFlagSlot(int64_t number) const;
  std::optional<size_t> PointSlot(int64_t number) const;
  int32_t SlotValue(size_t offset) const;
  void SetSlotValue(size_t offset, int32_t value);

  int32_t EventFlag(int number) const;  // 0 for a number outside the record
  int32_t Point(int number) const;

  std::span<uint8_t> Field(size_t offset, size_t size) { return {bytes_.data() + offset, size}; }
  std::span<const uint8_t> Field(size_t offset, size_t size) const {
    return {bytes_.data() + offset, size};
  }
  std::string_view Text(size_t offset, size_t size) const;
  void SetText(size_t offset, size_t size, std::string_view text);

 private:
  std::optional<size_t> Slot(size_t tableOffset, int64_t number) const;
  std::array<uint8_t, kSize> bytes_{};
};

}  // namespace qv::core
