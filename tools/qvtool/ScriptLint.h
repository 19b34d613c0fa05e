// The scenario script checked as the interpreter reads it: its commands, labels, choice items,
// line lengths and bytes, and the files it asks for.
#pragma once

#include <string>
#include <vector>

#include "core/ScriptRuntime.h"
#include "graphics/PictureFile.h"
#include "platform/Cp932.h"
#include "qvtool/LintReport.h"

namespace qv::tool {

enum class FileRole { Picture, Mask, Sound };

// A file a script line names, game-relative as the script spells it.
struct ScriptFileUse {
  std::string path;
  FileRole role = FileRole::Picture;
  graphics::PictureKind kind = graphics::PictureKind::Plain;  // pictures only
  size_t line = 0;
};

struct ScriptLint {
  std::vector<LintProblem> problems;
  std::vector<ScriptFileUse> files;  // in the order the lines name them
  bool opensMessageWindow = false;   // the bar, cursor and save screens will be needed
  bool hasChoices = false;
  bool hasWordChoices = false;
  bool opensLoadScreen = false;  // a choice item opens the load screen from the title
};

// `fileName` is what problems name. With `musicFromCd` the music commands play nothing, so their
// files are not asked for.
ScriptLint LintScript(const core::ScriptText& script, const std::string& fileName,
                      platform::Cp932& cp932, bool musicFromCd);

}  // namespace qv::tool
