// What the fuzz targets share: a game on the fake platform that no input can make wait forever.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/StopSignal.h"
#include "support/FakePlatform.h"

namespace qv::fuzz {

// A game on the fakes with its base directory set up and, when `width` is not 0, a window and
// surfaces of `width` x `height`. A wait for a player who never comes ends the run as a close
// would.
struct FuzzGame : test::FakeGame {
  explicit FuzzGame(std::string_view script = "", int width = 0, int height = 0);

  // The file at `name` under the base directory and at `name` itself (the engine reads some of
  // its own pictures by their bare game path).
  void PutEverywhere(std::string_view name, std::string_view bytes);

  // Runs `work`, taking a stop (a wait nothing will end, or the close an input asked for) as the
  // end of the run rather than a finding.
  template <typename Work>
  void Run(Work&& work) {
    try {
      work();
    } catch (const platform::StopSignal&) {
    }
  }
};

inline std::string_view Bytes(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

}  // namespace qv::fuzz
