// Read marks (see ReadMarks.h).
#include "core/ReadMarks.h"

#include <algorithm>
#include <cstring>

#include "core/SettingsFile.h"

namespace qv::core {

namespace {

// "qvread01", the script's hash, the count, then the line ends in ascending order; all
// little-endian.
constexpr char kMagic[8] = {'q', 'v', 'r', 'e', 'a', 'd', '0', '1'};
constexpr size_t kHeaderSize = sizeof kMagic + 8 + 4;

void PutLittle(std::vector<uint8_t>& out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

uint64_t GetLittle(const uint8_t* p, int bytes) {
  uint64_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = value << 8 | p[i];
  return value;
}

}  // namespace

uint64_t ReadMarks::HashScript(const ScriptText& script) {
  uint64_t hash = 0xcbf29ce484222325ull;
  const size_t size = std::min<size_t>(script.size, script.bytes.size());
  for (size_t i = 0; i < size; ++i) hash = (hash ^ script.bytes[i]) * 0x100000001b3ull;
  return hash;
}

std::vector<uint8_t> ReadMarks::Encode(uint64_t scriptHash, const std::set<uint32_t>& lines) {
  std::vector<uint8_t> out(kMagic, kMagic + sizeof kMagic);
  out.reserve(kHeaderSize + 4 * lines.size());
  PutLittle(out, scriptHash, 8);
  PutLittle(out, lines.size(), 4);
  for (uint32_t line : lines) PutLittle(out, line, 4);
  return out;
}

bool ReadMarks::Decode(const std::vector<uint8_t>& bytes, uint64_t& scriptHash,
                       std::set<uint32_t>& lines) {
  if (bytes.size() < kHeaderSize || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0)
    return false;
  const uint64_t count = GetLittle(bytes.data() + 16, 4);
  if (bytes.size() != kHeaderSize + 4 * count) return false;
  std::set<uint32_t> read;
  for (size_t i = 0; i < count; ++i) {
    const auto line = static_cast<uint32_t>(GetLittle(bytes.data() + kHeaderSize + 4 * i, 4));
    // Written in ascending order: anything else is damage the size happened to match.
    if (!read.empty() && line <= *read.rbegin()) return false;
    read.insert(read.end(), line);
  }
  scriptHash = GetLittle(bytes.data() + 8, 8);
  lines = std::move(read);
  return true;
}

void ReadMarks::Load(Services& services, const ScriptText& script) {
  std::lock_guard lock(mutex_);
  scriptHash_ = HashScript(script);
  lines_.clear();
  changed_ = false;
  if (auto bytes = services.platform.files.ReadAll(ReadMarksPath(services))) {
    uint64_t hash = 0;
    std::set<uint32_t> read;
    if (!Decode(*bytes, hash, read)) {
      services.Report("read marks file ignored");
    } else if (hash == scriptHash_) {
      lines_ = std::move(read);
    }
  }
  services.Log("read marks " + std::to_string(lines_.size()));
}

bool ReadMarks::IsRead(uint32_t lineEnd) const {
  std::lock_guard lock(mutex_);
  return lines_.contains(lineEnd);
}

void ReadMarks::MarkRead(uint32_t lineEnd) {
  std::lock_guard lock(mutex_);
  changed_ = lines_.insert(lineEnd).second || changed_;
}

size_t ReadMarks::Count() const {
  std::lock_guard lock(mutex_);
  return lines_.size();
}

void ReadMarks::SaveIfChanged(Services& services) {
  std::lock_guard lock(mutex_);
  if (!changed_ || !EnsureSaveFolder(services, false)) return;
  // A failed write keeps the marks in memory for the next try, said once; the game goes on.
  if (services.platform.files.ReplaceAtomically(ReadMarksPath(services),
                                                Encode(scriptHash_, lines_))) {
    changed_ = false;
  } else if (!writeFailed_) {
    services.Report("read marks file not written");
    writeFailed_ = true;
  }
}

std::string ReadMarksPath(const Services& services) {
  return SaveFolderPath(services) + "\\readmarks.dat";
}

}  // namespace qv::core
