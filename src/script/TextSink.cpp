// Text lines before glyph output exists: the interpreter has logged the line; here a pending page
// request is taken as honoured, as starting a page would.
#include "script/TextSink.h"

namespace qv::script {

int ShowTextLine(core::Engine& engine, std::string_view line) {
  (void)line;
  engine.newPageRequested = 0;
  return 1;
}

}  // namespace qv::script
