// Writing and reading the history beside the saved games (see HistoryFile.h).
#include "script/HistoryFile.h"

#include <string>

#include "core/SettingsFile.h"
#include "core/TextHistoryFile.h"

namespace qv::script {

namespace {

// saveNN.sav's own name with the history's extension.
std::string HistoryFilePath(const core::Services& services, int slot) {
  std::string path = core::SlotFilePath(services, slot);
  path.replace(path.size() - 3, 3, "bkl");
  return path;
}

std::string FileName(const std::string& path) {
  const size_t separator = path.find_last_of("\\/");
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

}  // namespace

void WriteHistoryFile(script::Engine& engine, int slot) {
  if (!engine.services.comforts.enabled) return;
  const std::string path = HistoryFilePath(engine.services, slot);
  if (!engine.services.platform.files.ReplaceAtomically(
          path, core::HistoryFileBytes(engine.history.Pages())) &&
      engine.services.platform.log.Enabled()) {
    engine.services.Log("backlog file " + FileName(path) + " not written");
  }
}

void ReadHistoryFile(script::Engine& engine, int slot) {
  if (!engine.services.comforts.enabled) return;
  const std::string path = HistoryFilePath(engine.services, slot);
  auto& files = engine.services.platform.files;
  if (!files.Exists(path)) return;
  const auto bytes = files.ReadAll(path);
  auto pages = bytes ? core::ReadHistoryFileBytes(*bytes) : std::nullopt;
  if (!pages) {
    engine.services.Report("backlog file " + FileName(path) + " ignored");
    return;
  }
  engine.history.Replace(std::move(*pages));
}

}  // namespace qv::script
