// The scenario file (see ScriptFile.h).
#include "script/ScriptFile.h"

#include <cstdio>

#include "core/ScriptScramble.h"
#include "core/TextRules.h"

namespace qv::script {

std::string FirstWithExtension(const std::vector<std::string>& names, std::string_view ext) {
  for (const std::string& name : names) {
    if (name.size() <= ext.size() + 1) continue;
    if (name[name.size() - ext.size() - 1] != '.') continue;
    bool same = true;
    for (size_t i = 0; i < ext.size(); ++i) {
      char c = name[name.size() - ext.size() + i];
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      if (c != ext[i]) same = false;
    }
    if (same) return name;
  }
  return {};
}

std::shared_ptr<core::ScriptText> UnscrambleScript(std::vector<uint8_t> fileBytes) {
  auto script = std::make_shared<core::ScriptText>();
  script->key = core::DetectScriptKey(fileBytes).value_or(core::kScriptKey);
  script->size = static_cast<uint32_t>(fileBytes.size());
  core::XorBytes(fileBytes, script->key);
  fileBytes.push_back(core::ScriptText::kEndMarker);
  fileBytes.push_back(0);
  script->bytes = std::move(fileBytes);
  return script;
}

int LoadScript(script::Engine& engine) {
  std::string name = FirstWithExtension(engine.services.platform.files.ListGameFolder(), "qv");
  if (name.empty()) return 0;
  auto bytes = engine.services.platform.files.ReadAll(engine.services.baseDirectory + name);
  // Positions are 32-bit; a file that large is no script.
  if (!bytes || bytes->size() > 0x7FFFFFF0u) return 0;
  auto script = UnscrambleScript(std::move(*bytes));
  if (script->key != core::kScriptKey && engine.services.platform.log.Enabled()) {
    char line[32];
    std::snprintf(line, sizeof line, "script key 0x%02X", script->key);
    engine.services.Log(line);
  }
  engine.script.SetText(std::move(script));
  return 1;
}

std::string ReadLine(const core::ScriptText& script, std::atomic<uint32_t>& position) {
  std::string line;
  uint32_t pos = position.load();
  if (ScriptByte(script, pos) != '\r') {
    for (;;) {
      if (ScriptByte(script, uint64_t{pos} + 1) == '\n') break;
      uint8_t byte = ScriptByte(script, pos);
      if (byte == core::ScriptText::kEndMarker) break;
      if (line.size() < kMaxLineBytes + 1) line.push_back(static_cast<char>(byte));
      // The window thread may move the position meanwhile (a return to the title); its move
      // wins, and the half-read line is dropped.
      if (!position.compare_exchange_strong(pos, pos + 1)) return {};
      pos = pos + 1;
      if (ScriptByte(script, pos) == '\r') break;
    }
  }
  if (line.size() > kMaxLineBytes) line = std::string(core::CutAtCharBoundary(line, kMaxLineBytes));
  return line;
}

}  // namespace qv::script
