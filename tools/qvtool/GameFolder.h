// A playable game folder written from sources: the instance file and the scenario script.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/Cp932.h"

namespace qv::tool {

struct GameSources {
  std::string baseName = "game";  // the folder gets BASE.ist and BASE.qv
  std::string instance;           // instance file text, UTF-8 (or Shift-JIS)
  std::string script;             // script source, UTF-8 (or Shift-JIS)
  // What the two texts are called in messages, such as the files they were read from.
  std::string instanceOrigin = "instance source";
  std::string scriptOrigin = "script source";
};

struct GameFolderOutcome {
  bool succeeded = false;
  std::vector<std::string> messages;  // one line each: the error, or warnings on success
};

// Creates `folder` (and its parents) when missing and writes BASE.ist (Shift-JIS, CR LF) and
// BASE.qv (encoded script) into it, each replaced atomically. Refuses a `folder` that exists but
// is not a folder. Warns when another instance file or script in the folder sorts before
// BASE's, because the engine plays the first of each by name.
GameFolderOutcome WriteGameFolder(const std::filesystem::path& folder, const GameSources& sources,
                                  platform::Cp932& cp932);

}  // namespace qv::tool
