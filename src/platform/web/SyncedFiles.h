// Files whose every write is followed by a request to persist the save folder (the browser keeps
// it in IndexedDB, which sees only what is copied there after the write).
#pragma once

#include <functional>

#include "platform/Files.h"

namespace qv::platform::web {

class SyncedFiles final : public Files {
 public:
  // `afterWrite` runs after each replaced file or made folder; `onSaveFolder` once with the host
  // folder the saves were placed in.
  SyncedFiles(Files& inner, std::function<void()> afterWrite,
              std::function<void(const std::string&)> onSaveFolder);

  const std::string& BaseDirectory() const override { return inner_.BaseDirectory(); }
  std::vector<std::string> ListGameFolder() override { return inner_.ListGameFolder(); }
  std::optional<std::string> Resolve(std::string_view enginePath) override {
    return inner_.Resolve(enginePath);
  }
  bool Exists(std::string_view enginePath) override { return inner_.Exists(enginePath); }
  bool IsDirectory(std::string_view enginePath) override { return inner_.IsDirectory(enginePath); }
  bool CreateDirectory(std::string_view enginePath) override;
  std::optional<std::vector<uint8_t>> ReadAll(std::string_view enginePath) override {
    return inner_.ReadAll(enginePath);
  }
  std::optional<std::vector<uint8_t>> ReadPrefix(std::string_view enginePath,
                                                 size_t maxBytes) override {
    return inner_.ReadPrefix(enginePath, maxBytes);
  }
  std::optional<LocalTime> LastWriteTime(std::string_view enginePath) override {
    return inner_.LastWriteTime(enginePath);
  }
  bool ReplaceAtomically(std::string_view enginePath, const std::vector<uint8_t>& bytes) override;
  std::optional<std::string> PlaceSaveFolder(std::string_view saveFolder,
                                             std::string_view instanceName) override;
  int RemoveStaleTemporaries(std::string_view folderPath) override;

 private:
  Files& inner_;
  std::function<void()> afterWrite_;
  std::function<void(const std::string&)> onSaveFolder_;
};

}  // namespace qv::platform::web
