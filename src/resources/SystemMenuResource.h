// The pop-up system menu as data: its items, ids and nesting, in the players' language.
#pragma once

#include <cstdint>

#include "platform/Ui.h"

namespace qv::resources {

inline constexpr uint32_t ID_QUIT = 40001;
inline constexpr uint32_t ID_ABOUT = 40002;
inline constexpr uint32_t ID_FULLSCREEN = 40005;
inline constexpr uint32_t ID_SPEED_FAST = 40007;
inline constexpr uint32_t ID_SPEED_NORMAL = 40008;
inline constexpr uint32_t ID_SPEED_SLOWEST = 40009;
inline constexpr uint32_t ID_TITLE = 40010;
inline constexpr uint32_t ID_AUTO = 40025;
inline constexpr uint32_t ID_SPEED_SLOW = 40027;
inline constexpr uint32_t ID_SPEED_FASTEST = 40029;
inline constexpr uint32_t ID_EFFECTS = 40031;
inline constexpr uint32_t ID_SE_100 = 40032;
inline constexpr uint32_t ID_SE_50 = 40033;
inline constexpr uint32_t ID_SE_0 = 40034;
inline constexpr uint32_t ID_BGM_100 = 40035;
inline constexpr uint32_t ID_BGM_50 = 40036;
inline constexpr uint32_t ID_BGM_0 = 40037;
inline constexpr uint32_t ID_SE_75 = 40038;
inline constexpr uint32_t ID_SE_25 = 40039;
inline constexpr uint32_t ID_BGM_75 = 40040;
inline constexpr uint32_t ID_BGM_25 = 40041;
// This engine's own items, in a sub-menu after the original's.
inline constexpr uint32_t ID_SKIP_READ_ONLY = 40101;
inline constexpr uint32_t ID_BACKLOG = 40102;
inline constexpr uint32_t ID_COPY_PAGE = 40103;

// The menu's first sub-menu, "システム", the one the right button pops up.
platform::MenuItem LoadSystemMenu();

// The sub-menu of this engine's additions, which the system menu ends with when they are on.
platform::MenuItem LoadComfortsMenu();

}  // namespace qv::resources
