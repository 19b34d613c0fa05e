// Where a game's save folder lives on the host (see SaveFolderChoice.h).
#include "platform/posix/SaveFolderChoice.h"

#include <unistd.h>

#include <cstdlib>

namespace qv::platform::posix {

namespace {

// Names longer than this could pass the file system's limit of 255 bytes once made safe.
constexpr size_t kMaxNameBytes = 200;

// Only '/' and NUL cannot be in a POSIX file name; control characters are replaced too so the
// folder can be named in a message, and a name of dots alone would point elsewhere.
std::string SafeFileName(std::string_view name) {
  std::string out;
  for (char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    out.push_back(c == '/' || byte < 0x20 || byte == 0x7F ? '_' : c);
  }
  if (out.size() > kMaxNameBytes) {
    size_t end = kMaxNameBytes;
    while (end > 0 && (static_cast<unsigned char>(out[end]) & 0xC0) == 0x80) --end;
    out.resize(end);
  }
  if (out.find_first_not_of('.') == std::string::npos) out.insert(0, "_");
  return out;
}

}  // namespace

SavePlace ChooseSavePlace(const SaveFolderFacts& facts) {
  if (facts.saveFolderExists) {
    return facts.saveFolderWritable ? SavePlace::GameFolder : SavePlace::DataFolderWithCopies;
  }
  return facts.gameFolderWritable ? SavePlace::GameFolder : SavePlace::DataFolder;
}

std::string DataSaveFolder(std::string_view dataHome, std::string_view instanceNameUtf8) {
  if (dataHome.empty()) return {};
  std::string folder(dataHome);
  while (!folder.empty() && folder.back() == '/') folder.pop_back();
  return folder + "/qvengine/" + SafeFileName(instanceNameUtf8) + "/save";
}

SaveFolderHost SaveFolderHost::FromProcess() {
  SaveFolderHost host;
  const char* xdg = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  // The XDG rules ignore a relative XDG_DATA_HOME.
  if (xdg && xdg[0] == '/') {
    host.dataHome = xdg;
  } else if (home && home[0] == '/') {
    std::string folder = home;
    while (!folder.empty() && folder.back() == '/') folder.pop_back();
    host.dataHome = folder + "/.local/share";
  }
  host.writable = [](const std::string& folder) {
    return access(folder.c_str(), W_OK | X_OK) == 0;
  };
  return host;
}

}  // namespace qv::platform::posix
