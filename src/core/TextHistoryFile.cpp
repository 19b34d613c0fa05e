// Writing and checking the text history's file (see TextHistoryFile.h).
#include "core/TextHistoryFile.h"

#include <string>
#include <string_view>

#include "core/Bytes.h"

namespace qv::core {

namespace {

constexpr std::string_view kMagic = "QVBL";
constexpr uint32_t kVersion = 1;

// Far above what the engine writes (a line is at most 1023 bytes, a path 259, a page a handful
// of lines): a count beyond them is damage, and reading it would only waste memory.
constexpr uint32_t kMaxLinesPerPage = 1024;
constexpr uint32_t kMaxTextBytes = 4096;
constexpr uint32_t kMaxVoiceBytes = 1024;

void PutU32(std::vector<uint8_t>& out, size_t value) {
  uint8_t bytes[4];
  StoreI32(bytes, static_cast<int32_t>(value));
  out.insert(out.end(), bytes, bytes + 4);
}

void PutText(std::vector<uint8_t>& out, std::string_view text) {
  PutU32(out, text.size());
  out.insert(out.end(), text.begin(), text.end());
}

class Reader {
 public:
  explicit Reader(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  std::optional<uint32_t> U32(uint32_t limit) {
    if (bytes_.size() - at_ < 4) return std::nullopt;
    const auto value = static_cast<uint32_t>(LoadI32(bytes_.data() + at_));
    at_ += 4;
    if (value > limit) return std::nullopt;
    return value;
  }
  std::optional<std::string> Text(uint32_t limit) {
    const std::optional<uint32_t> size = U32(limit);
    if (!size || bytes_.size() - at_ < *size) return std::nullopt;
    std::string text(reinterpret_cast<const char*>(bytes_.data() + at_), *size);
    at_ += *size;
    return text;
  }
  bool AtEnd() const { return at_ == bytes_.size(); }

 private:
  std::span<const uint8_t> bytes_;
  size_t at_ = 0;
};

}  // namespace

std::vector<uint8_t> HistoryFileBytes(const std::vector<HistoryPage>& pages) {
  std::vector<uint8_t> out(kMagic.begin(), kMagic.end());
  PutU32(out, kVersion);
  PutU32(out, pages.size());
  for (const HistoryPage& page : pages) {
    PutU32(out, page.size());
    for (const HistoryLine& line : page) {
      PutText(out, line.text);
      PutText(out, line.voice);
    }
  }
  return out;
}

std::optional<std::vector<HistoryPage>> ReadHistoryFileBytes(std::span<const uint8_t> bytes) {
  if (bytes.size() < kMagic.size() ||
      std::string_view(reinterpret_cast<const char*>(bytes.data()), kMagic.size()) != kMagic)
    return std::nullopt;
  Reader reader(bytes.subspan(kMagic.size()));
  if (reader.U32(kVersion) != kVersion) return std::nullopt;
  const std::optional<uint32_t> pageCount = reader.U32(TextHistory::kMaxPages);
  if (!pageCount) return std::nullopt;
  std::vector<HistoryPage> pages(*pageCount);
  for (HistoryPage& page : pages) {
    const std::optional<uint32_t> lineCount = reader.U32(kMaxLinesPerPage);
    // The engine never writes an empty page.
    if (!lineCount || *lineCount == 0) return std::nullopt;
    for (uint32_t i = 0; i < *lineCount; ++i) {
      std::optional<std::string> text = reader.Text(kMaxTextBytes);
      std::optional<std::string> voice = reader.Text(kMaxVoiceBytes);
      if (!text || !voice) return std::nullopt;
      page.push_back({std::move(*text), std::move(*voice)});
    }
  }
  if (!reader.AtEnd()) return std::nullopt;
  return pages;
}

}  // namespace qv::core
