// Where a loaded game resumes: the walk back from the saved position to the line that rebuilds
// the page.
#pragma once

#include <cstdint>

#include "script/Engine.h"

namespace qv::script {

struct ResumeLine {
  uint32_t line = 0;     // the first byte of the line the interpreter executes next
  bool replay = false;   // the lines up to the saved position are replayed at once
  bool selword = false;  // the line is a word choice (its list comes back with it)
};

// Walks back from `saved`, one line at a time, nearest first, looking at each line's first 127
// bytes: a page mark ("$P", "$W") other than the saved line's own, a label, or the start of the
// script resume with the page replayed; a picture command or a word choice resumes at once. Line
// breaks between the lines are looked at too and match nothing.
ResumeLine FindResumeLine(const core::ScriptText& script, uint32_t saved);

}  // namespace qv::script
