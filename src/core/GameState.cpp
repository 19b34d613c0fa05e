// The game-state record's field access (see GameState.h).
#include "core/GameState.h"

#include "core/Bytes.h"

namespace qv::core {

uint32_t GameState::Position() const {
  return static_cast<uint32_t>(LoadI32(bytes_.data() + kPositionOffset));
}

void GameState::SetPosition(uint32_t position) {
  StoreI32(bytes_.data() + kPositionOffset, static_cast<int32_t>(position));
}

std::optional<size_t> GameState::Slot(size_t tableOffset, int64_t number) const {
  int64_t offset = static_cast<int64_t>(tableOffset) + 4 * number;
  if (offset < 0 || offset + 4 > static_cast<int64_t>(kSize)) return std::nullopt;
  return static_cast<size_t>(offset);
}

std::optional<size_t> GameState::EventFlagSlot(int64_t number) const {
  return Slot(kEventFlagsOffset, number);
}

std::optional<size_t> GameState::PointSlot(int64_t number) const {
  return Slot(kPointsOffset, number);
}

int32_t GameState::SlotValue(size_t offset) const {
  return LoadI32(bytes_.data() + offset);
}

void GameState::SetSlotValue(size_t offset, int32_t value) {
  StoreI32(bytes_.data() + offset, value);
}

int32_t GameState::EventFlag(int number) const {
  auto slot = EventFlagSlot(number);
  return slot ? SlotValue(*slot) : 0;
}

int32_t GameState::Point(int number) const {
  auto slot = PointSlot(number);
  return slot ? SlotValue(*slot) : 0;
}

std::string_view GameState::Text(size_t offset, size_t size) const {
  return FieldText(Field(offset, size));
}

void GameState::SetText(size_t offset, size_t size, std::string_view text) {
  SetFieldText(Field(offset, size), text);
}

}  // namespace qv::core
