// Read marks: which text lines of the scenario the player has seen, kept across runs and slots.
#pragma once

#include <cstdint>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "core/ScriptRuntime.h"
#include "core/Services.h"

namespace qv::core {

// A line is named by the offset of its end in the unscrambled script, where the interpreter stands
// while it shows the line. The file beside the slots also holds a hash of the script, since any
// edit of the script moves the offsets: a changed script starts with no marks.
class ReadMarks {
 public:
  // FNV-1a, 64 bits, of the script's bytes (without the end marker).
  static uint64_t HashScript(const ScriptText& script);
  // readmarks.dat's bytes for `lines` of the script hashed `scriptHash`, and back: nothing when
  // the bytes are not such a file.
  static std::vector<uint8_t> Encode(uint64_t scriptHash, const std::set<uint32_t>& lines);
  static bool Decode(const std::vector<uint8_t>& bytes, uint64_t& scriptHash,
                     std::set<uint32_t>& lines);

  // Start-up, with the save folder placed and the script loaded: takes the marks the file holds
  // for this script and logs `read marks N`. A damaged or foreign file is ignored with one line
  // on stderr and in the log, and replaced at the next write.
  void Load(Services& services, const ScriptText& script);

  // Either thread.
  bool IsRead(uint32_t lineEnd) const;
  void MarkRead(uint32_t lineEnd);
  size_t Count() const;

  // Rewrites the file atomically when lines were marked since the last write. The interpreter
  // calls it when it halts for the player, the shell at the close. Any thread.
  void SaveIfChanged(Services& services);

 private:
  mutable std::mutex mutex_;
  std::set<uint32_t> lines_;
  uint64_t scriptHash_ = 0;
  bool changed_ = false;
  bool writeFailed_ = false;
};

// readmarks.dat, in the save folder beside env.dat and the slots.
std::string ReadMarksPath(const Services& services);

}  // namespace qv::core
