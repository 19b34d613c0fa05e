// The program's side of the page's save folder handling (see PageBridge.h).
#include "platform/web/PageBridge.h"

#include <emscripten/emscripten.h>
#include <unistd.h>

namespace qv::platform::web {

void RequestSaveSync() {
  // Asynchronous: the page's thread may itself be waiting for this one (a file call proxied to
  // it), and the copy reads the in-memory files there anyway.
  MAIN_THREAD_ASYNC_EM_ASM({
    if (Module['qvRequestSaveSync']) Module['qvRequestSaveSync']();
  });
}

void AnnounceSaveFolder(const std::string& folder) {
  MAIN_THREAD_EM_ASM(
      {
        Module['qvSaveFolder'] = UTF8ToString($0);
        if (Module['qvOnSaveFolder']) Module['qvOnSaveFolder'](Module['qvSaveFolder']);
      },
      folder.c_str());
}

posix::SaveFolderHost BrowserSaveHost(const std::string& dataHome, const std::string& gameFolder) {
  posix::SaveFolderHost host;
  host.dataHome = dataHome;
  host.writable = [gameFolder](const std::string& folder) {
    if (folder == gameFolder || folder.starts_with(gameFolder + "/")) return false;
    return access(folder.c_str(), W_OK) == 0;
  };
  return host;
}

}  // namespace qv::platform::web
