// The instance file (*.ist): which game this is, its window and its music source.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "script/Engine.h"

namespace qv::shell {

// The six keys, in the order games write them.
inline constexpr std::string_view kInstanceKeys[] = {
    "InstanceName=", "WindowName=", "WindowWidth=", "WindowHeight=", "GameType=", "BGMType="};

// The text of `key` (one of kInstanceKeys) as the parser reads it: the character after the key is
// taken for the opening quote, and the value runs to the next double quote or the end of the
// file. Nothing when the key is absent.
std::optional<std::string_view> InstanceKeyValue(std::string_view bytes, std::string_view key);

// Whether the engine can open a window of the instance file's size: both sides positive and at
// most 8192, the width a multiple of 4.
bool IsPlayableFrame(int32_t width, int32_t height);

// Extracts the six keys from the bytes of an instance file. Keys missing from the file get
// their defaults.
core::InstanceConfig ParseInstanceFile(std::string_view bytes);

// Reads the first "*.ist" of the game folder into engine.services.config. With none (or an
// unreadable one), config.found stays false and every key takes its default.
void ReadInstanceFile(script::Engine& engine);

}  // namespace qv::shell
