// The twelve slots of the save and load screens: each slot's date and scene title, drawn onto both
// looks of the screen, and which slots react.
#pragma once

#include <array>
#include <string>

#include "screens/SaveLoadScreenState.h"

namespace qv::screens {

// Entry 0 is the return button, entries 1-12 the slots (1-6 the left column, 7-12 the right);
// hit tests include all four edges.
inline constexpr std::array<core::Rect, screens::SaveLoadScreenState::kEntries> kSlotRects{{
    {37, 95, 284, 134},
    {35, 173, 376, 224},
    {35, 236, 376, 293},
    {35, 303, 376, 357},
    {35, 360, 376, 427},
    {35, 433, 376, 486},
    {35, 497, 376, 552},
    {404, 173, 745, 224},
    {404, 236, 745, 293},
    {404, 303, 745, 357},
    {404, 360, 745, 427},
    {404, 433, 745, 486},
    {404, 497, 745, 552},
}};

// The slot font's face: "ＭＳ　ゴシック" (with an ideographic space) in code page 932.
inline constexpr const char* kSlotFace = "\x82\x6c\x82\x72\x81\x40\x83\x53\x83\x56\x83\x62\x83\x4e";
inline constexpr int kSlotCellHeight = 17;

// What an empty slot shows.
inline constexpr const char* kNoDate = "--/--/--";
inline constexpr const char* kNoTitle = "None";

// Slot `slotIndex` + 1 (slotIndex 0-11): its date ("2011/05/14 18:30", the file's last write in
// local time) and scene title (code page 932). 1 when the file was read, is a saved game of this
// script, and has a date; otherwise 0, with "--/--/--" and "None" for a missing file.
int ReadSlotSummary(SaveLoadScreenState& screen, int slotIndex, std::string& dateText,
                    std::string& titleText);

// Writes the twelve slots onto both looks (sceneSurface and pageSurface) and fills slotEnabled:
// on the save screen (mode 10) every entry reacts, on a load screen only the slots that can be
// loaded. Logs "slot K DATE | TITLE" for each. Window thread.
int DrawSlotList(SaveLoadScreenState& screen, core::ScreenMode mode);

// `text` (code page 932) in `colour` (0x00BBGGRR) with the pen's top-left at (x, y): each glyph's
// coverage blended onto `surface`, inked pixels only, clipped.
void DrawText(SaveLoadScreenState& screen, platform::Font* font, core::Surface& surface, int x,
              int y, std::string_view text, uint32_t colour);

}  // namespace qv::screens
