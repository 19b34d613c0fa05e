// The item lines of the choice commands, parsed into choice-table entries.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/ChoiceTable.h"

namespace qv::script {

namespace texts {
// A malformed item line, or one more item than the list holds.
inline constexpr const char* kChoiceRangeError = "メニューの範囲指定に誤りがあります";
}  // namespace texts

// Word-choice texts longer than this are cut at a character boundary.
inline constexpr size_t kMaxChoiceText = 51;

struct ParsedItem {
  core::ChoiceItem item;
  int32_t condition = 0;
  std::string text;  // word choices only
};

// Text before the first "(" is ignored; numbers are 1-4 characters read by the number rule; a
// label longer than 63 bytes, a missing field or a bad number is an error (false).
// "(left,top,right,bottom,label,condition)"
bool ParseAreaItem(std::string_view line, ParsedItem& out);
// "(label,condition,text)"
bool ParseWordItem(std::string_view line, ParsedItem& out);
// As an area item, but the condition runs to the next comma or the end of the line, so a closing
// ")" is part of it (and counts towards its four characters).
bool ParseFlagItem(std::string_view line, ParsedItem& out);

// flagselect's "(base,unlocked,hover)": the three picture paths. False without "(" or a field.
bool ParseFlagPictures(std::string_view line, std::string (&paths)[3]);

}  // namespace qv::script
