// The engine's one random generator: the `random` command seeds it, the ragged wipe draws from it.
#pragma once

#include <cstdint>

#include "core/ScriptRuntime.h"

namespace qv::core {

// The next number, 0-32767, of the C library's classic rand() sequence kept in the script runtime.
inline uint32_t DrawRandom(ScriptRuntime& script) {
  script.randomState = script.randomState * 214013u + 2531011u;
  return (script.randomState >> 16) & 0x7FFF;
}

}  // namespace qv::core
