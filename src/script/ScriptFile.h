// The scenario file: finding, unscrambling and loading it, and reading it line by line.
#pragma once

#include <memory>
#include <string>

#include "script/Engine.h"

namespace qv::script {

// The longest line the interpreter keeps (its line buffer holds 1023 bytes and a terminator).
inline constexpr size_t kMaxLineBytes = 1023;

// Finds the first "*.qv" of the game folder (by the bytes of the names, extension in any case),
// reads and unscrambles it and makes it the engine's script. 1 on success, 0 when there is none
// or it cannot be read. A script scrambled with another one-byte key is recognised by its line
// ends and loaded all the same (logged as "script key 0xNN").
int LoadScript(script::Engine& engine);

// The unscrambled script of a file's bytes, with the end marker and the zero after it.
std::shared_ptr<core::ScriptText> UnscrambleScript(std::vector<uint8_t> fileBytes);

// The first name in `names` (sorted by bytes) whose extension is `.ext` in any case.
std::string FirstWithExtension(const std::vector<std::string>& names, std::string_view ext);

// Reads one line at the shared position as the interpreter does: copies bytes until the byte
// at the position is CR, the next byte is LF, or the end marker is reached, moving the position
// along. Bytes past kMaxLineBytes are passed over but not kept; a kept line never ends inside a
// double-byte character. When another thread moves the position meanwhile, the line is dropped
// (the result is empty) and the position stays where that thread put it.
std::string ReadLine(const core::ScriptText& script, std::atomic<uint32_t>& position);

// The byte at `index`; everything from the end marker on reads as the marker, so a position that
// a jump or a load left past the text ends the script instead of running the zero after it.
inline uint8_t ScriptByte(const core::ScriptText& script, uint64_t index) {
  return index < script.size ? script.bytes[index] : core::ScriptText::kEndMarker;
}

}  // namespace qv::script
