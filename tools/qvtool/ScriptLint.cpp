// The script checker (see ScriptLint.h). It walks the script with the interpreter's own line
// reader, command table and parsers, so what it reports is what the engine would do.
#include "qvtool/ScriptLint.h"

#include <algorithm>
#include <atomic>
#include <map>

#include "core/ChoiceTable.h"
#include "core/TextRules.h"
#include "script/ChoiceItems.h"
#include "script/Commands.h"
#include "script/JumpLabels.h"
#include "script/ScriptFile.h"
#include "script/SpriteArguments.h"
#include "script/commands/CommandToolkit.h"
#include "shell/OnScreenInput.h"

namespace qv::tool {

namespace {

using core::ScriptText;

constexpr std::string_view kWaitCodes[] = {"$C", "$P", "$W", "$S"};
constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";
constexpr size_t kShownBytes = 48;

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view FirstWaitCode(std::string_view line) {
  for (std::string_view code : kWaitCodes) {
    if (core::ContainsBytes(line, code)) return code;
  }
  return {};
}

// Whether nothing but wait codes and blanks is on the line, as a wait line should be.
bool OnlyWaitCodes(std::string_view line) {
  for (size_t i = 0; i < line.size();) {
    if (IsBlank(line[i])) {
      ++i;
    } else if (line[i] == '$' && i + 1 < line.size() &&
               std::string_view("CPWS").find(line[i + 1]) != std::string_view::npos) {
      i += 2;
    } else {
      return false;
    }
  }
  return true;
}

bool IsKeyword(std::string_view word) {
  const auto& table = script::CommandTable();
  return std::any_of(table.begin(), table.end(),
                     [&](const script::Command& command) { return command.keyword == word; });
}

// A line's text once leading blanks (ASCII or the ideographic space) are gone.
std::string_view WithoutLeadingBlanks(std::string_view line) {
  for (;;) {
    if (!line.empty() && IsBlank(line[0])) {
      line.remove_prefix(1);
    } else if (line.starts_with("\x81\x40")) {
      line.remove_prefix(2);
    } else {
      return line;
    }
  }
}

struct JumpTarget {
  std::string search;  // ":" + label
  size_t line = 0;
  bool pick = false;  // a choice item's label: the engine lands on it without needing a line end
};

class Checker {
 public:
  Checker(const ScriptText& script, const std::string& fileName, platform::Cp932& cp932,
          bool musicFromCd)
      : script_(script), fileName_(fileName), cp932_(cp932), musicFromCd_(musicFromCd) {
    lineStarts_.push_back(0);
    for (size_t i = 0; i < script.size; ++i) {
      if (script.bytes[i] == '\n') lineStarts_.push_back(i + 1);
    }
  }

  ScriptLint Run() {
    std::atomic<uint32_t> position{0};
    for (;;) {
      const std::string line = ReadCheckedLine(position);
      if (!line.empty()) CheckLine(line, LineAt(lineStart_), position);
      if (script::ScriptByte(script_, position.load()) == ScriptText::kEndMarker) break;
      position += 2;
    }
    CheckLabels();
    std::stable_sort(result_.problems.begin(), result_.problems.end(),
                     [](const LintProblem& a, const LintProblem& b) { return a.line < b.line; });
    return std::move(result_);
  }

 private:
  size_t LineAt(size_t offset) const {
    return static_cast<size_t>(std::upper_bound(lineStarts_.begin(), lineStarts_.end(), offset) -
                               lineStarts_.begin());
  }

  std::string_view LineTextAt(size_t offset) const {
    const std::string_view text = std::string_view(script_.View()).substr(0, script_.size);
    const size_t start = lineStarts_[LineAt(offset) - 1];
    const size_t end = std::min(text.find_first_of("\r\n", start), text.size());
    return text.substr(start, end - start);
  }

  // Script bytes as a message shows them: UTF-8, cut short.
  std::string Shown(std::string_view sjis) {
    const std::string_view cut = core::CutAtCharBoundary(sjis, kShownBytes);
    return cp932_.ToUtf8(cut) + (cut.size() < sjis.size() ? "…" : "");
  }

  void Report(size_t line, std::string message) {
    result_.problems.push_back({fileName_, line, std::move(message)});
  }

  // Reads the next line as the interpreter does, with the checks every line gets.
  std::string ReadCheckedLine(std::atomic<uint32_t>& position) {
    lineStart_ = position.load();
    std::string line = script::ReadLine(script_, position);
    const uint32_t stop = position.load();
    const size_t number = LineAt(lineStart_);
    if (stop - lineStart_ > script::kMaxLineBytes) {
      Report(number, "line is " + std::to_string(stop - lineStart_) +
                         " bytes long; the engine keeps only the first " +
                         std::to_string(script::kMaxLineBytes));
    }
    if (!bareLineFeedSeen_ && script::ScriptByte(script_, stop) != '\r' &&
        script::ScriptByte(script_, uint64_t{stop} + 1) == '\n') {
      bareLineFeedSeen_ = true;
      Report(number,
             "line ends with LF alone; the engine expects CR LF and drops the character before a "
             "bare LF (reported once)");
    }
    if (cp932_.ToUtf8(line).find(kReplacementCharacter) != std::string::npos) {
      Report(number, "bytes that are not Shift-JIS");
    }
    return line;
  }

  void CheckLine(std::string_view line, size_t number, std::atomic<uint32_t>& position) {
    // The wait codes are looked for on every line before anything else, and win.
    if (const std::string_view code = FirstWaitCode(line); !code.empty()) {
      if (!OnlyWaitCodes(line)) Report(number, WaitCodeMessage(line, code));
      return;
    }
    switch (line[0]) {
      case '$':
        CheckCommand(line, number, position);
        return;
      case ':':
      case ';':
        return;
      default:
        CheckText(line, number);
    }
  }

  std::string WaitCodeMessage(std::string_view line, std::string_view code) {
    const std::string quoted = "the wait code " + std::string(code);
    switch (line[0]) {
      case '$':
        return quoted + " in this command line makes the engine wait instead of running it";
      case ';':
        return quoted + " in this comment is obeyed: the engine waits here";
      case ':':
        return quoted + " in this label line is obeyed: the engine waits here";
      default:
        return quoted + " in this text line makes the engine wait without showing the text";
    }
  }

  void CheckText(std::string_view line, size_t number) {
    const std::string_view rest = WithoutLeadingBlanks(line);
    if (rest.size() == line.size() || rest.empty()) return;
    if (rest[0] == '$') {
      const script::Command* command = script::FindCommand(rest);
      Report(number, "blanks before '" + Shown(rest.substr(0, rest.find(' '))) +
                         "' make it a text line: the engine shows it and runs " +
                         (command ? "no '" + std::string(command->keyword) + "'" : "nothing"));
    } else if (rest[0] == ':' || rest[0] == ';') {
      Report(number, std::string("blanks before '") + rest[0] +
                         "' make it a text line, shown in the message window");
    }
  }

  void CheckCommand(std::string_view line, size_t number, std::atomic<uint32_t>& position) {
    const std::string_view word = line.substr(1, line.find_first_of(" \t") - 1);
    const script::Command* command = script::FindCommand(line);
    if (!command) {
      Report(number, "unknown command '$" + Shown(word) + "'");
      return;
    }
    if (command->keyword != word) {
      const std::string runs = "'" + std::string(command->keyword) + "'";
      Report(number, IsKeyword(word) ? "'$" + Shown(word) + "' runs as " + runs +
                                           ", which occurs in the line and comes first in the "
                                           "engine's command table"
                                     : "unknown command '$" + Shown(word) + "'; the engine runs " +
                                           runs + ", which occurs in the line");
    }
    CheckArguments(*command, line, number, position);
  }

  void CheckArguments(const script::Command& command, std::string_view line, size_t number,
                      std::atomic<uint32_t>& position) {
    const std::string keyword(command.keyword);
    const auto handler = command.handler;
    if (handler == &script::Jmp) {
      const std::optional<std::string> search = script::JmpSearchText(line);
      if (!search || search->size() < 2) return Report(number, "jmp without a label");
      AddJump(*search, number, false);
      if (auto back = script::JmpReturnLabel(line)) AddJump(*back, number, false);
    } else if (handler == &script::Eventjudge || handler == &script::Pointjudge) {
      const size_t space = handler == &script::Eventjudge ? script::EventjudgeLabelSpace(line)
                                                          : script::PointjudgeLabelSpace(line);
      const std::optional<std::string> search = script::JudgeSearchText(line, space);
      if (!search || search->size() < 2) return Report(number, keyword + " without a label");
      AddJump(*search, number, false);
    } else if (handler == &script::Imgblt) {
      AddPicture(keyword, script::ArgumentText(line), graphics::PictureKind::Background, number);
    } else if (handler == &script::Sprite) {
      const std::optional<script::SpriteArguments> sprite = script::ParseSpriteLine(line);
      if (!sprite) return Report(number, "sprite needs a slot, an x and a picture");
      AddPicture(keyword, sprite->path, graphics::PictureKind::Sprite, number);
    } else if (handler == &script::Maskefct) {
      const std::string_view path = script::ArgumentText(line);
      if (path.empty()) return Report(number, "maskefct without a mask");
      result_.files.push_back({std::string(path), FileRole::Mask, {}, number});
    } else if (handler == &script::Selarea) {
      AddPicture(keyword, script::ArgumentText(line), graphics::PictureKind::AreaImage, number);
      ReadItems(position, keyword, "selend", true, script::ParseAreaItem, number);
    } else if (handler == &script::Selword) {
      result_.hasWordChoices = true;
      ReadItems(position, keyword, "selend", false, script::ParseWordItem, number);
    } else if (handler == &script::Flagselect) {
      std::string paths[3];
      // Without its pictures the engine reads no items: the lines after it run as lines.
      if (!script::ParseFlagPictures(line, paths)) {
        return Report(number, "flagselect needs (BASE,UNLOCKED,HOVER) pictures");
      }
      for (const std::string& path : paths) {
        AddPicture(keyword, path, graphics::PictureKind::AreaImage, number);
      }
      ReadItems(position, keyword, "$flagselend", true, script::ParseFlagItem, number);
    } else if (handler == &script::Windowopen) {
      result_.opensMessageWindow = true;
    } else if (handler == &script::OggPlay) {
      const auto argument = script::ArgumentOf(line);
      if (!musicFromCd_ && argument && !core::ContainsBytes(*argument, "STOP"))
        AddSound(*argument, number);
    } else if (handler == &script::Talk) {
      const auto argument = script::ArgumentOf(line);
      if (argument && !core::ContainsBytes(line, "purge")) AddSound(*argument, number);
    } else if (handler == &script::Wave) {
      if (const auto argument = script::ArgumentOf(line)) AddSound(*argument, number);
    }
  }

  void AddPicture(const std::string& keyword, std::string_view path, graphics::PictureKind kind,
                  size_t number) {
    if (path.empty()) return Report(number, keyword + " without a picture");
    result_.files.push_back({std::string(path), FileRole::Picture, kind, number});
  }

  void AddSound(std::string_view path, size_t number) {
    result_.files.push_back({std::string(path), FileRole::Sound, {}, number});
  }

  void AddJump(std::string search, size_t number, bool pick) {
    jumps_.push_back({std::move(search), number, pick});
  }

  // The item lines of a choice command, read as the command reads them: from the next line to
  // the first one holding `endWord`.
  template <typename Parse>
  void ReadItems(std::atomic<uint32_t>& position, const std::string& keyword,
                 std::string_view endWord, bool emptyLineIsItem, Parse parse, size_t commandLine) {
    result_.hasChoices = true;
    int count = 0;
    position += 2;
    for (;;) {
      const std::string line = ReadCheckedLine(position);
      const size_t number = LineAt(lineStart_);
      if (core::ContainsBytes(line, endWord)) return;
      script::ParsedItem parsed;
      if (!line.empty() && !parse(line, parsed)) {
        return Report(number, "malformed " + keyword + " item '" + Shown(line) + "'");
      }
      if (!line.empty() || emptyLineIsItem) {
        if (++count > core::ChoiceTable::kCapacity) {
          return Report(number, keyword + " has more than " +
                                    std::to_string(core::ChoiceTable::kCapacity) +
                                    " items; the engine refuses the list here");
        }
      }
      if (!line.empty()) AddPick(std::string(parsed.item.Label()), number);
      position += 2;
      if (script::ScriptByte(script_, position.load()) == ScriptText::kEndMarker) {
        return Report(commandLine, keyword + " has no " + std::string(endWord) + " line");
      }
    }
  }

  void AddPick(const std::string& label, size_t number) {
    if (label.find(shell::kLoadScreenLabel) != std::string::npos) {
      result_.opensLoadScreen = true;
      return;
    }
    AddJump(":" + label, number, true);
  }

  // Labels are found by a substring search for ":" + label over the whole script, so the first
  // occurrence wins wherever it is.
  void CheckLabels() {
    const std::string_view text = std::string_view(script_.View()).substr(0, script_.size);
    std::map<std::string, size_t, std::less<>> labels;
    for (size_t start : lineStarts_) {
      if (start >= text.size() || text[start] != ':') continue;
      std::string_view label = LineTextAt(start);
      while (!label.empty() && IsBlank(label.back())) label.remove_suffix(1);
      if (label.size() < 2) continue;
      const size_t number = LineAt(start);
      labels.emplace(label, number);
      const size_t first = text.find(label);
      if (first != start) {
        Report(number, "label '" + Shown(label) + "' is never reached: the search for it finds " +
                           "line " + std::to_string(LineAt(first)) + " first ('" +
                           Shown(LineTextAt(first)) + "')");
      }
    }
    for (const JumpTarget& jump : jumps_) {
      const size_t at = text.find(jump.search);
      const std::string what = jump.pick ? "choice item's label '" : "label '";
      if (at == std::string_view::npos) {
        Report(jump.line, "no " + what + Shown(jump.search) + "' in the script");
      } else if (!labels.contains(jump.search)) {
        Report(jump.line, "no " + what + Shown(jump.search) + "' line: the search lands in line " +
                              std::to_string(LineAt(at)) + " ('" + Shown(LineTextAt(at)) + "')");
      } else if (!jump.pick && text.find_first_of("\r\n", at) == std::string_view::npos) {
        Report(jump.line, "label '" + Shown(jump.search) +
                              "' is on the last line, which has no line end: the jump fails");
      }
    }
  }

  const ScriptText& script_;
  const std::string& fileName_;
  platform::Cp932& cp932_;
  const bool musicFromCd_;
  std::vector<size_t> lineStarts_;
  std::vector<JumpTarget> jumps_;
  uint32_t lineStart_ = 0;
  bool bareLineFeedSeen_ = false;
  ScriptLint result_;
};

}  // namespace

ScriptLint LintScript(const ScriptText& script, const std::string& fileName, platform::Cp932& cp932,
                      bool musicFromCd) {
  return Checker(script, fileName, cp932, musicFromCd).Run();
}

}  // namespace qv::tool
