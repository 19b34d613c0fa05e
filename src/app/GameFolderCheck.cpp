// Whether a folder looks like a game (see GameFolderCheck.h).
#include "app/GameFolderCheck.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace qv::app {

bool HoldsGame(const std::string& dir) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
    std::string ext = entry.path().extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if ((ext == ".qv" || ext == ".ist") && entry.is_regular_file(error)) return true;
  }
  return false;
}

}  // namespace qv::app
