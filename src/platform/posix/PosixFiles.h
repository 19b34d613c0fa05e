// Files on a POSIX file system: game paths matched case-insensitively inside the game folder.
#pragma once

#include <string>

#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/posix/SaveFolderChoice.h"

namespace qv::platform::posix {

class PosixFiles final : public Files {
 public:
  // `gameFolder` must exist; it is made absolute. `host` answers where saves may go.
  PosixFiles(const std::string& gameFolder, Cp932& cp932,
             SaveFolderHost host = SaveFolderHost::FromProcess());

  const std::string& BaseDirectory() const override { return base_; }
  std::vector<std::string> ListGameFolder() override;
  std::optional<std::string> Resolve(std::string_view enginePath) override;
  bool Exists(std::string_view enginePath) override;
  bool IsDirectory(std::string_view enginePath) override;
  bool CreateDirectory(std::string_view enginePath) override;
  std::optional<std::vector<uint8_t>> ReadAll(std::string_view enginePath) override;
  std::optional<std::vector<uint8_t>> ReadPrefix(std::string_view enginePath,
                                                 size_t maxBytes) override;
  std::optional<LocalTime> LastWriteTime(std::string_view enginePath) override;
  bool ReplaceAtomically(std::string_view enginePath, const std::vector<uint8_t>& bytes) override;
  std::optional<std::string> PlaceSaveFolder(std::string_view saveFolder,
                                             std::string_view instanceName) override;
  int RemoveStaleTemporaries(std::string_view folderPath) override;

 private:
  // The components of an engine path below the game folder, or nothing when it leaves it.
  std::optional<std::vector<std::string>> Components(std::string_view enginePath) const;
  std::string FindEntry(const std::string& directory, const std::string& component);
  std::string root_;  // absolute, no trailing slash
  std::string base_;  // root_ + "/"
  Cp932& cp932_;
  SaveFolderHost host_;
  // A top-level folder kept elsewhere: its name folded to lower case, and its host folder.
  std::string movedFolder_;
  std::string movedFolderHost_;
};

// The absolute form of `path` (relative to the current directory), or empty when it is not an
// existing directory.
std::string AbsoluteDirectory(const std::string& path);

}  // namespace qv::platform::posix
