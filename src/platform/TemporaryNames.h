// The names atomic replacement gives its temporary files, so start-up can find those a kill left.
#pragma once

#include <cstddef>
#include <string_view>

namespace qv::platform {

// A temporary file is named after its target: TARGET + kTemporaryInfix + six letters or digits
// (what mkstemp puts in place of "XXXXXX").
inline constexpr std::string_view kTemporaryInfix = ".tmp-";
inline constexpr size_t kTemporaryRandomLength = 6;

// True only for a name of exactly that form with a non-empty TARGET.
bool IsTemporaryName(std::string_view fileName);

}  // namespace qv::platform
