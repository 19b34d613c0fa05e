// The label texts the jump commands take from their lines: what they search the script for, and
// the label a jump asks to come back to. The handlers and the game checker read lines alike.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qv::script {

// "$jmp LABEL [return BACK]": the search text ":LABEL" (at most 63 bytes), or nothing when the
// line has no space to stand for the label's colon.
std::optional<std::string> JmpSearchText(std::string_view line);

// The remembered return label ":BACK" of a jmp line (at most 63 bytes), or nothing without
// "return ".
std::optional<std::string> JmpReturnLabel(std::string_view line);

// Where the conditional jumps' fixed-column arguments start: the keyword with its dollar sign and
// exactly one space.
inline constexpr size_t kEventjudgeArgument = 12;
inline constexpr size_t kPointjudgeArgument = 12;

// The space in front of the label of "$eventjudge N LABEL", or npos.
size_t EventjudgeLabelSpace(std::string_view line);
// The space in front of the label of "$pointjudge N THRESHOLD LABEL", or npos.
size_t PointjudgeLabelSpace(std::string_view line);

// A conditional jump's search text: the space in front of its label is read as the label's colon,
// and the label runs to the end of the line. Nothing when there is no such space.
std::optional<std::string> JudgeSearchText(std::string_view line, size_t labelSpace);

}  // namespace qv::script
