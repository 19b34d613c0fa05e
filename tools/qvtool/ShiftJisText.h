// Moving text between the UTF-8 people edit and the Shift-JIS with CR LF line ends that games read.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Cp932.h"
#include "qvtool/TextDiagnostic.h"

namespace qv::tool {

// How a source's bytes are read: as UTF-8 when they are well-formed UTF-8 (a leading byte-order
// mark is dropped) and as Shift-JIS otherwise, or as Shift-JIS whatever they look like.
enum class SourceEncoding { kDetect, kShiftJis };

// The longest line the interpreter reads whole; longer ones lose their end.
inline constexpr size_t kMaxLineBytes = 1023;

struct TextConversion {
  std::string bytes;
  std::optional<TextDiagnostic> error;   // set when the conversion failed; `bytes` is then empty
  std::vector<TextDiagnostic> warnings;  // the conversion succeeded, but a reader should know
  bool Succeeded() const { return !error.has_value(); }
};

// Source text to Shift-JIS in which every line break (CR LF, LF or a lone CR) is CR LF. The last
// line ends with CR LF only when the source ends with a break: the interpreter treats a last line
// without one differently. Fails on a character Shift-JIS cannot hold, naming its place; warns
// about lines longer than kMaxLineBytes.
TextConversion ConvertToShiftJisText(std::string_view source, platform::Cp932& cp932,
                                     SourceEncoding encoding = SourceEncoding::kDetect);

// Shift-JIS with CR LF line ends to UTF-8 with LF line ends, such that ConvertToShiftJisText gives
// the same bytes back. Fails where that cannot be: bytes that are not Shift-JIS, a CR without LF
// or an LF without CR. Warns about characters Shift-JIS spells twice (the NEC and IBM
// extensions), which come back in their other spelling.
TextConversion ConvertToUtf8Text(std::string_view shiftJis, platform::Cp932& cp932);

}  // namespace qv::tool
