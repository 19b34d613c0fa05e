// The qvtool command line: reads the arguments, runs one command, reports as a shell tool should.
#pragma once

#include <ostream>
#include <span>
#include <string_view>

namespace qv::tool {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;  // a file could not be read or written, a text is bad
inline constexpr int kExitUsage = 2;    // the command line itself is wrong

// `arguments` leaves out the program name. Results go to `out`, messages to `err`.
int RunQvtool(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err);

}  // namespace qv::tool
