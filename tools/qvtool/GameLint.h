// `qvtool lint`: a game folder read as the engine reads it, and every problem that would show.
#pragma once

#include <string>
#include <vector>

#include "platform/Cp932.h"
#include "qvtool/LintReport.h"

namespace qv::tool {

// Checks the instance file, the scenario script (or, when `scriptSource` is not empty, that
// UTF-8 or Shift-JIS source as `qvtool encode` would write it), the files the script and the
// interface need, and the save slots. `folder` must be an existing folder. Problems come in file
// order: the instance file, the script, the files, the saves.
std::vector<LintProblem> LintGame(const std::string& folder, const std::string& scriptSource,
                                  platform::Cp932& cp932);

}  // namespace qv::tool
