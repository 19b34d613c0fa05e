// Moving text between the UTF-8 people edit and the Shift-JIS with CR LF line ends that games read.
#include "qvtool/ShiftJisText.h"

#include <cstdio>

#include "qvtool/Utf8.h"

namespace qv::tool {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// Every CR LF, lone CR and LF becomes one LF. Safe on Shift-JIS too: neither CR nor LF is ever
// the second byte of a double-byte character.
std::string NormaliseLineBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r') {
      out += text[i];
      continue;
    }
    out += '\n';
    if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
  }
  return out;
}

std::string ExpandLineBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string_view::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  lines.push_back(text.substr(start));
  return lines;
}

// Where `offset` of LF-separated, well-formed UTF-8 lies, as line and character column.
TextDiagnostic PlaceInUtf8(std::string_view text, size_t offset, std::string message) {
  const std::string_view before = text.substr(0, offset);
  size_t line = 1;
  for (char c : before) line += c == '\n';
  const size_t lineStart =
      before.rfind('\n') == std::string_view::npos ? 0 : before.rfind('\n') + 1;
  return {line, CountUtf8Characters(before.substr(lineStart)) + 1, std::move(message)};
}

bool IsLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
bool IsTrailByte(unsigned char b) {
  return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

size_t ShiftJisCharacterLength(std::string_view text, size_t offset) {
  const bool pair = offset + 1 < text.size() &&
                    IsLeadByte(static_cast<unsigned char>(text[offset])) &&
                    IsTrailByte(static_cast<unsigned char>(text[offset + 1]));
  return pair ? 2 : 1;
}

size_t CountShiftJisCharacters(std::string_view text) {
  size_t count = 0;
  for (size_t i = 0; i < text.size(); i += ShiftJisCharacterLength(text, i)) ++count;
  return count;
}

std::string FormatCodePoint(char32_t codePoint) {
  char text[16];
  std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(codePoint));
  return text;
}

std::string FormatBytes(std::string_view bytes) {
  std::string text;
  for (char c : bytes) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned char>(c));
    if (!text.empty()) text += ' ';
    text += hex;
  }
  return text;
}

void WarnAboutLongLines(std::string_view shiftJis, std::vector<TextDiagnostic>& warnings) {
  size_t number = 0;
  for (std::string_view line : SplitLines(shiftJis)) {
    ++number;
    if (line.size() <= kMaxLineBytes) continue;
    warnings.push_back({number, 0,
                        "line is " + std::to_string(line.size()) +
                            " bytes in Shift-JIS; the engine reads only the first " +
                            std::to_string(kMaxLineBytes)});
  }
}

// The first character of `line` (Shift-JIS) that converts to UTF-8 and back differently.
std::optional<TextDiagnostic> FindUnstableCharacter(std::string_view line, size_t number,
                                                    platform::Cp932& cp932) {
  std::string back;
  size_t bad = 0;
  if (cp932.FromUtf8(cp932.ToUtf8(line), back, bad) && back == line) return std::nullopt;
  size_t column = 1;
  for (size_t i = 0; i < line.size(); ++column) {
    const std::string_view original = line.substr(i, ShiftJisCharacterLength(line, i));
    i += original.size();
    const std::string utf8 = cp932.ToUtf8(original);
    const bool encodable = cp932.FromUtf8(utf8, back, bad);
    if (encodable && back == original) continue;
    const auto character = DecodeUtf8Character(utf8, 0);
    const std::string name = character ? FormatCodePoint(character->codePoint) : "?";
    return TextDiagnostic{number, column,
                          encodable ? "character " + name + " is written " + FormatBytes(original) +
                                          " here but encodes as " + FormatBytes(back)
                                    : "character " + name + " cannot be encoded back"};
  }
  return std::nullopt;
}

}  // namespace

TextConversion ConvertToShiftJisText(std::string_view source, platform::Cp932& cp932,
                                     SourceEncoding encoding) {
  TextConversion result;
  std::string_view body = source;
  bool isUtf8 = false;
  if (encoding == SourceEncoding::kDetect) {
    const bool hasBom = body.starts_with(kUtf8Bom);
    if (hasBom) body.remove_prefix(kUtf8Bom.size());
    const auto malformed = FindMalformedUtf8(body);
    if (!malformed) {
      isUtf8 = true;
    } else if (hasBom) {
      // The mark says UTF-8, so reading the bytes as Shift-JIS would only hide the damage.
      const std::string before = NormaliseLineBreaks(body.substr(0, *malformed));
      result.error =
          PlaceInUtf8(before, before.size(),
                      "malformed UTF-8 in a file that starts with a UTF-8 byte-order mark");
      return result;
    } else {
      body = source;
    }
  }

  std::string text = NormaliseLineBreaks(body);
  std::string shiftJis;
  if (isUtf8) {
    size_t bad = 0;
    if (!cp932.FromUtf8(text, shiftJis, bad)) {
      const auto character = DecodeUtf8Character(text, bad);
      result.error = PlaceInUtf8(text, bad,
                                 character ? "character " + FormatCodePoint(character->codePoint) +
                                                 " has no Shift-JIS form"
                                           : "malformed UTF-8");
      return result;
    }
  } else {
    shiftJis = std::move(text);
  }
  WarnAboutLongLines(shiftJis, result.warnings);
  result.bytes = ExpandLineBreaks(shiftJis);
  return result;
}

TextConversion ConvertToUtf8Text(std::string_view shiftJis, platform::Cp932& cp932) {
  TextConversion result;
  std::string text;
  text.reserve(shiftJis.size());
  size_t line = 1;
  size_t lineStart = 0;
  for (size_t i = 0; i < shiftJis.size(); ++i) {
    const char c = shiftJis[i];
    if (c == '\r' && i + 1 < shiftJis.size() && shiftJis[i + 1] == '\n') {
      text += '\n';
      ++i;
      ++line;
      lineStart = i + 1;
      continue;
    }
    if (c == '\r' || c == '\n') {
      const size_t column = CountShiftJisCharacters(shiftJis.substr(lineStart, i - lineStart)) + 1;
      result.error = TextDiagnostic{
          line, column,
          c == '\r' ? "a CR without LF ends this line" : "an LF without CR ends this line"};
      return result;
    }
    text += c;
  }

  std::string utf8 = cp932.ToUtf8(text);
  const std::vector<std::string_view> lines = SplitLines(text);
  if (utf8.find(kReplacement) != std::string::npos) {
    // Shift-JIS has no U+FFFD, so a replacement character marks bytes that are not Shift-JIS.
    for (size_t number = 1; number <= lines.size(); ++number) {
      const std::string lineUtf8 = cp932.ToUtf8(lines[number - 1]);
      const size_t at = lineUtf8.find(kReplacement);
      if (at == std::string::npos) continue;
      result.error = TextDiagnostic{number, CountUtf8Characters(lineUtf8.substr(0, at)) + 1,
                                    "bytes that are not Shift-JIS"};
      return result;
    }
    result.error = TextDiagnostic{0, 0, "bytes that are not Shift-JIS"};
    return result;
  }

  std::string back;
  size_t bad = 0;
  if (!cp932.FromUtf8(utf8, back, bad) || back != text) {
    for (size_t number = 1; number <= lines.size(); ++number) {
      if (auto warning = FindUnstableCharacter(lines[number - 1], number, cp932)) {
        result.warnings.push_back(std::move(*warning));
      }
    }
  }
  result.bytes = std::move(utf8);
  return result;
}

}  // namespace qv::tool
