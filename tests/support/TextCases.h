// Test support: what the text-driven runners (the golden replays, the command-line cases) share.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace qv::test {

// \r, \n, \\ and \xHH, for bytes a text file cannot hold as they are.
inline std::string Unescape(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i] == '\\' && i + 1 < text.size() ? text[++i] : 0;
    if (c == 'x') {
      out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += c == 0 ? text[i] : c == 'r' ? '\r' : c == 'n' ? '\n' : c;
    }
  }
  return out;
}

// The cases in `folder`, by name without extension, sorted.
inline std::vector<std::string> CaseNames(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace qv::test
