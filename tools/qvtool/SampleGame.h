// The bundled sample game: the sources built into the tool, and the playable folder they make.
#pragma once

#include <filesystem>

#include "platform/Cp932.h"
#include "qvtool/GameFolder.h"

namespace qv::tool {

// The sample's instance file and script as WriteGameFolder takes them (base name "sample").
GameSources SampleGameSources();

// Writes sample.ist, sample.qv, the pictures under cg/ (sized for the instance file's frame), the
// effects under sound/, the music under bgm/ and the voice lines under voice/ into `folder`; the
// engine makes the save folder itself.
GameFolderOutcome MakeSample(const std::filesystem::path& folder, platform::Cp932& cp932);

}  // namespace qv::tool
