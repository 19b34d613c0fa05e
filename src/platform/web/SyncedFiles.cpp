// Files that ask for the save folder to be persisted after each write (see SyncedFiles.h).
#include "platform/web/SyncedFiles.h"

namespace qv::platform::web {

SyncedFiles::SyncedFiles(Files& inner, std::function<void()> afterWrite,
                         std::function<void(const std::string&)> onSaveFolder)
    : inner_(inner), afterWrite_(std::move(afterWrite)), onSaveFolder_(std::move(onSaveFolder)) {}

bool SyncedFiles::CreateDirectory(std::string_view enginePath) {
  const bool made = inner_.CreateDirectory(enginePath);
  if (made) afterWrite_();
  return made;
}

bool SyncedFiles::ReplaceAtomically(std::string_view enginePath,
                                    const std::vector<uint8_t>& bytes) {
  // The rename has put the whole file in place before the copy starts, so IndexedDB never holds
  // half a file.
  const bool replaced = inner_.ReplaceAtomically(enginePath, bytes);
  if (replaced) afterWrite_();
  return replaced;
}

std::optional<std::string> SyncedFiles::PlaceSaveFolder(std::string_view saveFolder,
                                                        std::string_view instanceName) {
  auto placed = inner_.PlaceSaveFolder(saveFolder, instanceName);
  if (placed) {
    onSaveFolder_(*placed);
    // Copies taken from a read-only save folder of the game are writes too.
    afterWrite_();
  }
  return placed;
}

int SyncedFiles::RemoveStaleTemporaries(std::string_view folderPath) {
  const int removed = inner_.RemoveStaleTemporaries(folderPath);
  if (removed > 0) afterWrite_();
  return removed;
}

}  // namespace qv::platform::web
