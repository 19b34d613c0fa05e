// The bundled sample game: the sources built into the tool, and the playable folder they make.
#include "qvtool/SampleGame.h"

#include <string_view>

#include "qvtool/SampleSources.h"

namespace qv::tool {

namespace {

std::string_view SampleSource(std::string_view name) {
  for (const EmbeddedFile& file : SampleSourceFiles()) {
    if (file.name == name) return file.bytes;
  }
  return {};
}

}  // namespace

GameSources SampleGameSources() {
  GameSources sources;
  sources.baseName = "sample";
  sources.instance = SampleSource("sample.ist.txt");
  sources.script = SampleSource("script.txt");
  sources.instanceOrigin = "games/sample/sample.ist.txt";
  sources.scriptOrigin = "games/sample/script.txt";
  return sources;
}

GameFolderOutcome MakeSample(const std::filesystem::path& folder, platform::Cp932& cp932) {
  return WriteGameFolder(folder, SampleGameSources(), cp932);
}

}  // namespace qv::tool
