// Where and why a text conversion stopped, or what it warns about, in the form editors jump to.
#include "qvtool/TextDiagnostic.h"

namespace qv::tool {

std::string FormatDiagnostic(std::string_view fileName, const TextDiagnostic& diagnostic) {
  std::string text(fileName);
  if (diagnostic.line > 0) {
    text += ':' + std::to_string(diagnostic.line);
    if (diagnostic.column > 0) text += ':' + std::to_string(diagnostic.column);
  }
  text += ": ";
  text += diagnostic.message;
  return text;
}

std::string FormatWarning(std::string_view fileName, const TextDiagnostic& diagnostic) {
  TextDiagnostic warning = diagnostic;
  warning.message = "warning: " + warning.message;
  return FormatDiagnostic(fileName, warning);
}

}  // namespace qv::tool
