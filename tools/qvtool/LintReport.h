// What the game checker found, and the two forms it is printed in: one line per problem for
// people, a JSON array for CI.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace qv::tool {

struct LintProblem {
  std::string file;  // as the game folder names it, or the script source's path
  size_t line = 0;   // 1-based; 0 when the file has no lines or the problem is the whole file
  std::string message;
};

// "FILE:LINE: MESSAGE", or "FILE: MESSAGE" when the line is 0.
std::string FormatLintLine(const LintProblem& problem);

// A JSON array of {"file", "line", "message"} objects, one a line, ending with a line feed.
std::string FormatLintJson(const std::vector<LintProblem>& problems);

}  // namespace qv::tool
