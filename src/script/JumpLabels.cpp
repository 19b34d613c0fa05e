// The jump commands' label texts (see JumpLabels.h).
#include "script/JumpLabels.h"

#include "core/TextRules.h"

namespace qv::script {

namespace {

// Label search texts are kept in 64-byte buffers by the scripts' conventions: the jump's search
// text may use 63 of them, the remembered return label ":" plus 62.
constexpr size_t kSearchTextMax = 63;
constexpr size_t kReturnLabelMax = 62;
constexpr std::string_view kReturnWord = "return ";

// The line with its first space turned into the label's colon.
std::optional<std::string> WithColon(std::string_view line) {
  const size_t space = line.find(' ');
  if (space == std::string_view::npos) return std::nullopt;
  std::string edited(line);
  edited[space] = ':';
  return edited;
}

}  // namespace

std::optional<std::string> JmpSearchText(std::string_view line) {
  const std::optional<std::string> edited = WithColon(line);
  if (!edited) return std::nullopt;
  return std::string(core::TakeUntil(*edited, line.find(' '), " ", kSearchTextMax));
}

std::optional<std::string> JmpReturnLabel(std::string_view line) {
  const std::optional<std::string> edited = WithColon(line);
  if (!edited) return std::nullopt;
  const size_t at = edited->find(kReturnWord);
  if (at == std::string::npos) return std::nullopt;
  return ":" + edited->substr(at + kReturnWord.size(), kReturnLabelMax);
}

size_t EventjudgeLabelSpace(std::string_view line) {
  return line.find(' ', kEventjudgeArgument);
}

size_t PointjudgeLabelSpace(std::string_view line) {
  const size_t afterNumber = line.find(' ', kPointjudgeArgument);
  if (afterNumber == std::string_view::npos) return std::string_view::npos;
  return line.find(' ', afterNumber + 1);
}

std::optional<std::string> JudgeSearchText(std::string_view line, size_t labelSpace) {
  if (labelSpace == std::string_view::npos) return std::nullopt;
  return ":" + std::string(line.substr(labelSpace + 1));
}

}  // namespace qv::script
