// A script file: loaded (with its scramble key found), then run line by line through the
// interpreter for a bounded number of lines, every command reachable. The frame is small: the
// lines' logic, not the pixels (the picture target's), is what is looked for here, and a
// full-size frame for every input would cost more than the lines.
#include "FuzzGame.h"
#include "script/Interpreter.h"
#include "script/ScriptFile.h"

namespace {
// Enough for a script to reach its commands many times over, few enough for a loop to end fast.
constexpr uint64_t kLineLimit = 3000;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qv::fuzz::FuzzGame game("", 160, 128);
  game.fakes.files.Put(game.engine.services.baseDirectory + "game.qv", qv::fuzz::Bytes(data, size));
  game.Run([&] {
    if (qv::script::LoadScript(game.engine) != 1) return;
    qv::script::ScriptInterpreter(game.engine, kLineLimit);
  });
  return 0;
}
