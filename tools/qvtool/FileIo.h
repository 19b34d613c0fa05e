// Whole-file reads and all-or-nothing writes, so a failed run never leaves half a file behind.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace qv::tool {

// False with the system's reason in `error` (for example "No such file or directory").
bool ReadFileBytes(const std::filesystem::path& path, std::string& bytes, std::string& error);

// Writes a new file beside `path`, flushes it to the disk and renames it over `path`: whoever
// looks finds the old file or the new one, never a torn one. False with the reason in `error`.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         std::string& error);

}  // namespace qv::tool
