// The checker's report forms (see LintReport.h).
#include "qvtool/LintReport.h"

#include <cstdio>

namespace qv::tool {

namespace {

// Messages and file names are UTF-8, which JSON takes as it is; only quotes, backslashes and
// control characters need escapes.
std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", byte);
      out += escape;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

}  // namespace

std::string FormatLintLine(const LintProblem& problem) {
  std::string out = problem.file + ":";
  if (problem.line != 0) out += std::to_string(problem.line) + ":";
  return out + " " + problem.message;
}

std::string FormatLintJson(const std::vector<LintProblem>& problems) {
  std::string out = "[";
  for (size_t i = 0; i < problems.size(); ++i) {
    const LintProblem& problem = problems[i];
    out += i == 0 ? "\n" : ",\n";
    out += "  {\"file\": " + JsonString(problem.file) +
           ", \"line\": " + std::to_string(problem.line) +
           ", \"message\": " + JsonString(problem.message) + "}";
  }
  return out + (problems.empty() ? "]\n" : "\n]\n");
}

}  // namespace qv::tool
