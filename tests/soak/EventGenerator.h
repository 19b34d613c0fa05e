// Random play for the sample game: a seeded events file of clicks, keys, menu picks, box
// answers, names, saves and loads, the same lines for the same seed on every machine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace qv::soak {

// `count` event lines (no comments), each ending in a line feed.
std::string GenerateEvents(uint64_t seed, size_t count);

}  // namespace qv::soak
