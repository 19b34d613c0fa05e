// The files of games/sample/, built into the tool so that it needs no source tree at run time.
#pragma once

#include <span>
#include <string_view>

namespace qv::tool {

struct EmbeddedFile {
  std::string_view name;  // relative to games/sample/, with '/' between folders
  std::string_view bytes;
};

// Sorted by name. Defined by a file the build generates from games/sample/.
std::span<const EmbeddedFile> SampleSourceFiles();

}  // namespace qv::tool
