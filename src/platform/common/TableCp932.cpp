// Code page 932 from the committed table (see TableCp932.h).
#include "platform/common/TableCp932.h"

#include <optional>

namespace qv::platform {

namespace {

#include "platform/common/Cp932Table.inc"

constexpr char32_t kReplacement = 0xFFFD;

int LeadRow(unsigned char b) {
  if (b >= 0x81 && b <= 0x9F) return b - 0x81;
  if (b >= 0xE0 && b <= 0xFC) return b - 0xE0 + 0x1F;
  return -1;
}
int TrailColumn(unsigned char b) {
  if (b < 0x40 || b > 0xFC || b == 0x7F) return -1;
  return b < 0x7F ? b - 0x40 : b - 0x41;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | c >> 6);
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | c >> 12);
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The code point of the character at the start of `in` and its length, or nothing when it is not
// well-formed UTF-8 (overlong, a surrogate, beyond U+10FFFF, cut short).
std::optional<std::pair<char32_t, size_t>> DecodeUtf8(std::string_view in) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(in[i]); };
  const unsigned char first = byte(0);
  if (first < 0x80) return std::pair<char32_t, size_t>(first, 1);
  size_t length = first >= 0xC2 && first <= 0xDF   ? 2
                  : first >= 0xE0 && first <= 0xEF ? 3
                  : first >= 0xF0 && first <= 0xF4 ? 4
                                                   : 0;
  if (length == 0 || in.size() < length) return std::nullopt;
  char32_t c = first & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return std::nullopt;
    c = c << 6 | (byte(i) & 0x3F);
  }
  const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < smallest[length] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) return std::nullopt;
  return std::pair(c, length);
}

}  // namespace

TableCp932::TableCp932() : codes_(0x10000, kNone) {
  for (uint16_t b = 0; b < 0x80; ++b) codes_[b] = b;
  for (uint16_t b = 0xA1; b <= 0xDF; ++b) codes_[0xFF61 + b - 0xA1] = b;
  for (int lead = 0; lead < 0x100; ++lead) {
    for (int trail = 0; trail < 0x100; ++trail) {
      const int row = LeadRow(static_cast<unsigned char>(lead));
      const int column = TrailColumn(static_cast<unsigned char>(trail));
      if (row < 0 || column < 0 || kPairs[row][column] == 0) continue;
      codes_[kPairs[row][column]] = static_cast<uint16_t>(lead << 8 | trail);
    }
  }
  for (const auto& [codePoint, code] : kEncodings) codes_[codePoint] = code;
}

std::string TableCp932::ToUtf8(std::string_view cp932) {
  std::string out;
  out.reserve(cp932.size() + cp932.size() / 2);
  for (size_t i = 0; i < cp932.size();) {
    const auto b = static_cast<unsigned char>(cp932[i]);
    if (b < 0x80) {
      out += static_cast<char>(b);
      ++i;
    } else if (b >= 0xA1 && b <= 0xDF) {
      AppendUtf8(out, 0xFF61 + b - 0xA1);
      ++i;
    } else {
      const int row = LeadRow(b);
      const int column =
          i + 1 < cp932.size() ? TrailColumn(static_cast<unsigned char>(cp932[i + 1])) : -1;
      if (row < 0 || column < 0) {
        AppendUtf8(out, kReplacement);
        ++i;
      } else {
        const char32_t c = kPairs[row][column];
        AppendUtf8(out, c != 0 ? c : kReplacement);
        i += 2;
      }
    }
  }
  return out;
}

bool TableCp932::FromUtf8(std::string_view utf8, std::string& out, size_t& badOffset) {
  out.clear();
  for (size_t i = 0; i < utf8.size();) {
    const auto decoded = DecodeUtf8(utf8.substr(i));
    // glibc's iconv drops the Unicode tag characters; so does every build of ours.
    if (decoded && decoded->first >= 0xE0000 && decoded->first <= 0xE007F) {
      i += decoded->second;
      continue;
    }
    const uint16_t code = decoded && decoded->first < 0x10000 ? codes_[decoded->first] : kNone;
    if (code == kNone) {
      badOffset = i;
      return false;
    }
    if (code > 0xFF) out += static_cast<char>(code >> 8);
    out += static_cast<char>(code & 0xFF);
    i += decoded->second;
  }
  return true;
}

}  // namespace qv::platform
