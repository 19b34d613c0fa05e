// The game checker (see GameLint.h).
#include "qvtool/GameLint.h"

#include <cstdio>
#include <set>
#include <tuple>

#include "core/SavedGameFile.h"
#include "core/TextRules.h"
#include "graphics/PictureFile.h"
#include "graphics/PictureLoading.h"
#include "platform/posix/PosixFiles.h"
#include "qvtool/FileIo.h"
#include "qvtool/ScriptCodec.h"
#include "qvtool/ScriptLint.h"
#include "screens/BarButtons.h"
#include "screens/ChoiceBar.h"
#include "screens/Logo.h"
#include "screens/SaveLoadScreen.h"
#include "script/ScriptFile.h"
#include "shell/InstanceFile.h"
#include "shell/OnScreenInput.h"

namespace qv::tool {

namespace {

using graphics::PictureKind;

constexpr int kSlotCount = 12;

std::string_view AsText(const std::vector<uint8_t>& bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::string KindName(PictureKind kind) {
  switch (kind) {
    case PictureKind::Background:
      return "a background";
    case PictureKind::Sprite:
      return "a sprite";
    case PictureKind::MessageWindow:
      return "the message window";
    case PictureKind::ButtonParts:
      return "the button parts";
    case PictureKind::WaitCursor:
      return "the wait cursor";
    case PictureKind::AreaImage:
      return "a choice picture";
    case PictureKind::ChoiceBar:
      return "the word-choice bar";
    case PictureKind::Plain:
      break;
  }
  return "a picture";
}

class GameChecker {
 public:
  GameChecker(const std::string& folder, const std::string& scriptSource, platform::Cp932& cp932)
      : files_(folder, cp932), scriptSource_(scriptSource), cp932_(cp932) {}

  std::vector<LintProblem> Run() {
    CheckInstanceFile();
    const std::shared_ptr<core::ScriptText> script = ReadScript();
    if (script) {
      ScriptLint lint = LintScript(*script, scriptName_, cp932_, config_.bgmFromCd != 0);
      problems_.insert(problems_.end(), lint.problems.begin(), lint.problems.end());
      CheckScriptFiles(lint);
      CheckInterfaceFiles(lint);
      CheckSaves(*script);
    }
    return std::move(problems_);
  }

 private:
  void Report(const std::string& file, size_t line, std::string message) {
    problems_.push_back({file, line, std::move(message)});
  }

  // The names in the game folder are the game's bytes; messages are UTF-8.
  std::string Shown(std::string_view sjis) { return cp932_.ToUtf8(sjis); }

  void CheckInstanceFile() {
    const std::string name = script::FirstWithExtension(files_.ListGameFolder(), "ist");
    std::optional<std::vector<uint8_t>> bytes;
    if (!name.empty()) bytes = files_.ReadAll(files_.BaseDirectory() + name);
    if (!bytes) {
      config_ = shell::ParseInstanceFile({});
      Report(".", 0, "no instance file (*.ist): the engine opens a 640 x 480 window");
      return;
    }
    const std::string shownName = Shown(name);
    const std::string_view text = AsText(*bytes);
    config_ = shell::ParseInstanceFile(text);
    for (std::string_view key : shell::kInstanceKeys) {
      const std::optional<std::string_view> value = shell::InstanceKeyValue(text, key);
      if (!value) {
        Report(shownName, 0, "key " + std::string(key) + " is missing");
        continue;
      }
      const size_t line = LineOf(text, static_cast<size_t>(value->data() - text.data()));
      if (value->data() == text.data() + text.size() || value->data()[-1] != '"') {
        Report(shownName, line, "the value of " + std::string(key) + " is not in double quotes");
      }
      const bool numeric = key == "WindowWidth=" || key == "WindowHeight=" || key == "GameType=";
      const bool digits =
          !value->empty() && value->find_first_not_of("0123456789") == std::string_view::npos;
      if (numeric && !digits) {
        Report(shownName, line,
               std::string(key) + "\"" + Shown(*value) + "\" is not a number; the engine reads " +
                   std::to_string(core::ReadNumber(*value)));
      }
    }
    if (!shell::IsPlayableFrame(config_.width, config_.height)) {
      Report(shownName, 0,
             "window size " + std::to_string(config_.width) + " x " +
                 std::to_string(config_.height) +
                 " cannot be opened: both sides must be 1 to 8192 and the width a multiple of 4");
    }
  }

  static size_t LineOf(std::string_view text, size_t offset) {
    size_t line = 1;
    for (size_t i = 0; i < offset && i < text.size(); ++i) line += text[i] == '\n' ? 1 : 0;
    return line;
  }

  std::shared_ptr<core::ScriptText> ReadScript() {
    if (!scriptSource_.empty()) {
      std::string source, reason;
      scriptName_ = scriptSource_;
      if (!ReadFileBytes(scriptSource_, source, reason)) {
        Report(scriptName_, 0, "cannot be read: " + reason);
        return nullptr;
      }
      const TextConversion encoded = EncodeScript(source, cp932_);
      if (!encoded.Succeeded()) {
        Report(scriptName_, encoded.error->line, encoded.error->message);
        return nullptr;
      }
      return script::UnscrambleScript({encoded.bytes.begin(), encoded.bytes.end()});
    }
    const std::string name = script::FirstWithExtension(files_.ListGameFolder(), "qv");
    scriptName_ = Shown(name);
    std::optional<std::vector<uint8_t>> bytes;
    if (!name.empty()) bytes = files_.ReadAll(files_.BaseDirectory() + name);
    if (!bytes) {
      Report(name.empty() ? "." : scriptName_, 0,
             name.empty() ? "no scenario script (*.qv)" : "the script cannot be read");
      return nullptr;
    }
    return script::UnscrambleScript(std::move(*bytes));
  }

  // Each file is checked once for each use, where the script first names it.
  void CheckScriptFiles(const ScriptLint& lint) {
    std::set<std::tuple<std::string, FileRole, PictureKind>> seen;
    for (const ScriptFileUse& use : lint.files) {
      if (!seen.emplace(use.path, use.role, use.kind).second) continue;
      CheckFile(use.line, use.path, use.role, use.kind);
    }
  }

  // The files the engine itself asks for, reported by their own names.
  void CheckInterfaceFiles(const ScriptLint& lint) {
    // The logo is copied as it is, whatever its form.
    CheckFile(0, screens::kLogoPicturePath, FileRole::Picture, PictureKind::Plain, false);
    CheckFile(0, screens::kLogoSoundPath, FileRole::Sound);
    if (lint.opensMessageWindow) {
      CheckFile(0, graphics::kMessageWindowPicturePath, FileRole::Picture,
                PictureKind::MessageWindow);
      CheckFile(0, graphics::kWaitCursorPath, FileRole::Picture, PictureKind::WaitCursor);
      CheckFile(0, graphics::kButtonPartsPath, FileRole::Picture, PictureKind::ButtonParts);
      CheckFile(0, screens::kClickSoundPath, FileRole::Sound);
    }
    if (lint.hasWordChoices) {
      CheckFile(0, screens::kChoiceBarPath, FileRole::Picture, PictureKind::ChoiceBar);
    }
    if (lint.hasChoices) CheckFile(0, shell::kHoverSoundPath, FileRole::Sound);
    // The bar opens both screens; a title's load item opens the load screen alone.
    if (lint.opensMessageWindow) {
      for (const char* path : screens::kSaveMenuPicturePaths) CheckMenuPicture(path);
    }
    if (lint.opensMessageWindow || lint.opensLoadScreen) {
      for (const char* path : screens::kLoadMenuPicturePaths) CheckMenuPicture(path);
    }
  }

  // A file named by script line `line`, or with `line` 0 one the engine needs whatever the
  // script says. Without `decode` it need only be there.
  void CheckFile(size_t line, const std::string& path, FileRole role,
                 PictureKind kind = PictureKind::Plain, bool decode = true) {
    const std::string shown = Shown(path);
    const std::string file = line == 0 ? shown : scriptName_;
    const std::string what = role == FileRole::Sound  ? "sound"
                             : role == FileRole::Mask ? "mask"
                                                      : "picture";
    const std::string subject = line == 0 ? what : what + " " + shown;
    const auto bytes = files_.ReadAll(files_.BaseDirectory() + path);
    if (!bytes) return Report(file, line, "missing " + subject);
    std::string why;
    if (role == FileRole::Mask) {
      if (!graphics::DecodeMask(*bytes, why))
        Report(file, line, subject + " cannot be used: " + why);
      return;
    }
    // Without a window there is no frame to measure pictures against.
    if (role != FileRole::Picture || !decode ||
        !shell::IsPlayableFrame(config_.width, config_.height))
      return;
    std::vector<uint8_t> picture = *bytes;
    if (kind == PictureKind::Background) graphics::ScrambleBackground(picture);
    if (graphics::DecodePicture(picture, kind, config_.width, config_.height, why)) return;
    std::string ignored;
    if (kind == PictureKind::Background &&
        graphics::DecodePicture(*bytes, kind, config_.width, config_.height, ignored)) {
      why = "it is not scrambled (qvtool scramble prepares a background)";
    }
    Report(file, line, subject + " cannot be used as " + KindName(kind) + ": " + why);
  }

  void CheckMenuPicture(const std::string& path) {
    const std::string shown = Shown(path);
    const auto bytes = files_.ReadAll(files_.BaseDirectory() + path);
    if (!bytes) return Report(shown, 0, "missing picture");
    if (!shell::IsPlayableFrame(config_.width, config_.height)) return;
    std::string why;
    if (!screens::DecodeMenuPicture(*bytes, config_.width, config_.height, why)) {
      Report(shown, 0, "picture cannot be used as a save or load screen: " + why);
    }
  }

  // What ships in the game folder's own save folder; a game installed read-only keeps its saves
  // elsewhere, per user.
  void CheckSaves(const core::ScriptText& script) {
    for (int slot = 1; slot <= kSlotCount; ++slot) {
      char name[32];
      std::snprintf(name, sizeof name, "save\\save%02d.sav", slot);
      const auto bytes = files_.ReadAll(files_.BaseDirectory() + name);
      if (!bytes) continue;
      const std::string why = core::CheckSavedGame(*bytes, &script);
      if (why.empty()) continue;
      std::string shownName = name;
      shownName[4] = '/';
      Report(shownName, 0,
             "cannot be loaded (" + why + "): a save from another version of the script?");
    }
  }

  platform::posix::PosixFiles files_;
  const std::string& scriptSource_;
  platform::Cp932& cp932_;
  core::InstanceConfig config_;
  std::string scriptName_;
  std::vector<LintProblem> problems_;
};

}  // namespace

std::vector<LintProblem> LintGame(const std::string& folder, const std::string& scriptSource,
                                  platform::Cp932& cp932) {
  return GameChecker(folder, scriptSource, cp932).Run();
}

}  // namespace qv::tool
