// Background files for game makers: scramble a plain bitmap for the engine, or undo it for editing.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qv::tool {

// The scrambled form of a plain 24-bit bitmap. A file that is not one is refused with the reason
// in `problem`, which recognises a file that is scrambled already.
std::optional<std::string> ScrambleBackgroundFile(std::string_view plain, std::string& problem);

// The plain bitmap inside a scrambled background; refused as above, recognising a plain file.
std::optional<std::string> UnscrambleBackgroundFile(std::string_view scrambled,
                                                    std::string& problem);

}  // namespace qv::tool
