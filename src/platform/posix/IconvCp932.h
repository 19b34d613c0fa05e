// Code page 932 conversions through the C library's iconv.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/Cp932.h"

namespace qv::platform::posix {

// Holds no conversion state between calls, so one instance may serve every thread at once.
class IconvCp932 final : public qv::platform::Cp932 {
 public:
  // A pair of a lead byte and a trail byte that has no character becomes one U+FFFD; any other
  // stray byte becomes one U+FFFD of its own, so the line structure around it survives.
  std::string ToUtf8(std::string_view cp932) override;
  // On failure `out` holds the conversion of everything before `badOffset`.
  bool FromUtf8(std::string_view utf8, std::string& out, size_t& badOffset) override;
};

}  // namespace qv::platform::posix
