// A playable game folder written from sources: the instance file and the scenario script.
#include "qvtool/GameFolder.h"

#include <algorithm>
#include <cctype>
#include <system_error>

#include "qvtool/FileIo.h"
#include "qvtool/ScriptCodec.h"
#include "qvtool/ShiftJisText.h"

namespace qv::tool {

namespace {

std::string LowerAscii(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// Other files of `folder` that the engine would take instead of `ours` (same extension, matched
// without regard to case, and a name that sorts first byte by byte).
std::vector<std::string> FilesPlayedInstead(const std::filesystem::path& folder,
                                            const std::string& ours) {
  std::vector<std::string> names;
  const std::string extension = LowerAscii(std::filesystem::path(ours).extension().string());
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (!entry.is_regular_file(error) || name >= ours) continue;
    if (LowerAscii(entry.path().extension().string()) == extension) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

void AddWarnings(const std::string& origin, const std::vector<TextDiagnostic>& warnings,
                 std::vector<std::string>& messages) {
  for (const TextDiagnostic& warning : warnings) messages.push_back(FormatWarning(origin, warning));
}

}  // namespace

GameFolderOutcome WriteGameFolder(const std::filesystem::path& folder, const GameSources& sources,
                                  platform::Cp932& cp932) {
  GameFolderOutcome outcome;
  auto& messages = outcome.messages;

  // Convert both before touching the disk, so a bad source leaves the folder as it was.
  const TextConversion instance = ConvertToShiftJisText(sources.instance, cp932);
  if (!instance.Succeeded()) {
    messages.push_back(FormatDiagnostic(sources.instanceOrigin, *instance.error));
    return outcome;
  }
  const TextConversion script = EncodeScript(sources.script, cp932);
  if (!script.Succeeded()) {
    messages.push_back(FormatDiagnostic(sources.scriptOrigin, *script.error));
    return outcome;
  }
  AddWarnings(sources.instanceOrigin, instance.warnings, messages);
  AddWarnings(sources.scriptOrigin, script.warnings, messages);

  std::error_code error;
  const auto status = std::filesystem::status(folder, error);
  if (std::filesystem::exists(status) && !std::filesystem::is_directory(status)) {
    messages = {folder.string() + ": exists and is not a folder"};
    return outcome;
  }
  std::filesystem::create_directories(folder, error);
  if (error) {
    messages = {folder.string() + ": cannot create the folder: " + error.message()};
    return outcome;
  }

  const std::pair<std::string, const std::string*> files[] = {
      {sources.baseName + ".ist", &instance.bytes}, {sources.baseName + ".qv", &script.bytes}};
  for (const auto& [name, bytes] : files) {
    std::string reason;
    if (!WriteFileAtomically(folder / name, *bytes, reason)) {
      messages = {(folder / name).string() + ": cannot write: " + reason};
      return outcome;
    }
    for (const std::string& other : FilesPlayedInstead(folder, name)) {
      messages.push_back((folder / other).string() + ": warning: the engine takes this file, not " +
                         name + ", because it comes first by name");
    }
  }
  outcome.succeeded = true;
  return outcome;
}

}  // namespace qv::tool
