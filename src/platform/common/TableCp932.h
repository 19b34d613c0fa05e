// Code page 932 conversions from a table of the project's own, the same on every platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Cp932.h"

namespace qv::platform {

// The table was taken once from glibc's iconv (scripts/make-cp932-table.py), so a build on a C
// library without code page 932, or with a different idea of it, reads and writes the same
// bytes as the native build. Holds no state between calls: one instance serves every thread.
class TableCp932 final : public Cp932 {
 public:
  TableCp932();
  // A pair of a lead byte and a trail byte that has no character becomes one U+FFFD; any other
  // stray byte becomes one U+FFFD of its own, so the line structure around it survives.
  std::string ToUtf8(std::string_view cp932) override;
  // On failure `out` holds the conversion of everything before `badOffset`.
  bool FromUtf8(std::string_view utf8, std::string& out, size_t& badOffset) override;

 private:
  std::vector<uint16_t> codes_;  // code point of the BMP -> its code; kNone where it has none
  static constexpr uint16_t kNone = 0xFFFF;  // FF is never a lead byte
};

}  // namespace qv::platform
