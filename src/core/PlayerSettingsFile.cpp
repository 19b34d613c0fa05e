// qvplay.ini (see PlayerSettingsFile.h).
#include "core/PlayerSettingsFile.h"

#include <optional>
#include <string_view>
#include <vector>

#include "core/SettingsFile.h"

namespace qv::core {

namespace {

constexpr std::string_view kSkipReadOnly = "skip-read-only";
// A settings file is a few lines; anything this long is not one.
constexpr size_t kMaxFileBytes = 64 * 1024;

struct Entry {
  std::string key, value;
};

// The file's key=value lines (blank lines and comments starting with '#' or ';' passed over), or
// nothing when it holds anything else: a line without '=', an empty key or a control byte.
std::optional<std::vector<Entry>> Parse(const std::vector<uint8_t>& bytes) {
  if (bytes.size() > kMaxFileBytes) return std::nullopt;
  std::vector<Entry> entries;
  std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    for (char c : line) {
      if (static_cast<unsigned char>(c) < 0x20 && c != '\t') return std::nullopt;
    }
    if (line.empty() || line[0] == '#' || line[0] == ';') continue;
    const size_t eq = line.find('=');
    if (eq == 0 || eq == std::string_view::npos) return std::nullopt;
    entries.push_back({std::string(line.substr(0, eq)), std::string(line.substr(eq + 1))});
  }
  return entries;
}

std::optional<std::vector<Entry>> ReadEntries(Services& services) {
  auto bytes = services.platform.files.ReadAll(PlayerSettingsPath(services));
  if (!bytes) return std::vector<Entry>{};
  return Parse(*bytes);
}

}  // namespace

std::string PlayerSettingsPath(const Services& services) {
  return SaveFolderPath(services) + "\\qvplay.ini";
}

void LoadPlayerSettings(Services& services) {
  const auto entries = ReadEntries(services);
  bool good = entries.has_value();
  std::optional<bool> skipReadOnly;
  for (const Entry& entry : entries.value_or(std::vector<Entry>{})) {
    if (entry.key != kSkipReadOnly) continue;
    if (entry.value != "0" && entry.value != "1") good = false;
    skipReadOnly = entry.value == "1";
  }
  if (!good) {
    services.Report("settings file ignored");
    return;
  }
  if (skipReadOnly) services.comforts.skipReadOnly = *skipReadOnly;
}

bool SavePlayerSettings(Services& services) {
  if (!EnsureSaveFolder(services, true)) return false;
  std::string text;
  // A damaged file's lines are not worth keeping.
  for (const Entry& entry : ReadEntries(services).value_or(std::vector<Entry>{})) {
    if (entry.key != kSkipReadOnly) text += entry.key + "=" + entry.value + "\n";
  }
  text += std::string(kSkipReadOnly) + "=" + (services.comforts.skipReadOnly ? "1" : "0") + "\n";
  if (services.platform.files.ReplaceAtomically(PlayerSettingsPath(services),
                                                std::vector<uint8_t>(text.begin(), text.end())))
    return true;
  services.Report("settings file not written");
  return false;
}

}  // namespace qv::core
