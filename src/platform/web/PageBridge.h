// What the program tells the page it runs in: the page keeps the save folder in IndexedDB and
// offers it for export, so it learns where the folder is and when it changed.
#pragma once

#include <string>

#include "platform/posix/SaveFolderChoice.h"

namespace qv::platform::web {

// Asks the page to copy the save folder's mount into IndexedDB. Returns at once; the page runs
// one copy at a time and folds requests that arrive during one into a single next copy.
void RequestSaveSync();

// Tells the page which folder holds the running game's saves.
void AnnounceSaveFolder(const std::string& folder);

// Where saves go in the browser: the game folder (unpacked into memory) is never written, so
// they always land in `dataHome`/qvengine/NAME/save, `dataHome` being the page's IndexedDB mount.
posix::SaveFolderHost BrowserSaveHost(const std::string& dataHome, const std::string& gameFolder);

}  // namespace qv::platform::web
