// Shift-JIS (code page 932) to and from Unicode, for the font, the UI and the log.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qv::platform {

class Cp932 {
 public:
  virtual ~Cp932() = default;
  // Never fails: a byte sequence that is not code page 932 becomes U+FFFD.
  virtual std::string ToUtf8(std::string_view cp932) = 0;
  // False when a character has no code page 932 form (or the UTF-8 is malformed); `badOffset`
  // then gets the byte offset of that character in `utf8`.
  virtual bool FromUtf8(std::string_view utf8, std::string& out, size_t& badOffset) = 0;
};

}  // namespace qv::platform
