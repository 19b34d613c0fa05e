// Where and why a text conversion stopped, or what it warns about, in the form editors jump to.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qv::tool {

struct TextDiagnostic {
  size_t line = 0;    // 1-based; 0 when the diagnostic is about the whole text
  size_t column = 0;  // 1-based, counted in characters; 0 when it is about the whole line
  std::string message;
};

// "NAME:LINE:COLUMN: MESSAGE", leaving out the place parts that are 0.
std::string FormatDiagnostic(std::string_view fileName, const TextDiagnostic& diagnostic);
// The same with "warning: " before the message.
std::string FormatWarning(std::string_view fileName, const TextDiagnostic& diagnostic);

}  // namespace qv::tool
