// The resume walk (see ResumePoint.h).
#include "script/ResumePoint.h"

#include <string_view>

#include "core/TextRules.h"

namespace qv::script {

namespace {

// The walk's buffer held 128 bytes with a terminator: a longer line is matched on its start.
constexpr int64_t kFragmentBytes = 127;

}  // namespace

ResumeLine FindResumeLine(const core::ScriptText& script, uint32_t saved) {
  const int64_t size = script.size;
  auto byte = [&](int64_t i) -> uint8_t {
    return i >= 0 && i < size ? script.bytes[static_cast<size_t>(i)] : 0;
  };
  int64_t k = static_cast<int64_t>(saved) - 3;
  bool first = true;
  while (k > 0) {
    int64_t n = 0;
    if (byte(k - 1) != '\n') {
      for (;;) {
        if (byte(k) == '\r') break;
        --k;
        ++n;
        if (k <= 0 || byte(k - 1) == '\n') break;
      }
    }
    // Bytes past the script's end (its marker) never belong to a line.
    const int64_t length = std::min({n + 2, kFragmentBytes, size - k});
    std::string_view fragment;
    if (length > 0) {
      fragment = {reinterpret_cast<const char*>(script.bytes.data()) + k,
                  static_cast<size_t>(length)};
      // Fragments are compared as C strings: a zero byte ends one.
      fragment = fragment.substr(0, fragment.find('\0'));
    }
    const auto has = [&](std::string_view word) { return core::ContainsBytes(fragment, word); };
    if (!first && (has("$P") || has("$W"))) return {static_cast<uint32_t>(k), true, false};
    first = false;
    if (has("$hani") || has("$imgblt") || has("$fill") || has("$sprite") || has("$statusopen")) {
      return {static_cast<uint32_t>(k), false, false};
    }
    if (has("$selword")) return {static_cast<uint32_t>(k), false, true};
    if (has(":")) return {static_cast<uint32_t>(k), true, false};
    k -= 2;
  }
  return {0, false, false};
}

}  // namespace qv::script
