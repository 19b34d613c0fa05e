// Closing stops the interpreter where a script never waits: the line loop, jumps, choice items.
#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "platform/Clock.h"
#include "platform/StopSignal.h"
#include "script/Commands.h"
#include "script/Interpreter.h"
#include "support/FakePlatform.h"

namespace qv::script {
namespace {

using test::FakeGame;

TEST(StopIfClosing, TheLineLoopJumpsAndItemReadingUnwindBeforeDoingAnything) {
  struct Case {
    const char* name;
    const char* script;
    uint32_t position;  // where the interpreter stands: the line's start, or its CR for a command
    std::function<void(script::Engine&)> run;
    std::function<bool(const script::Engine&)> untouched;
  };
  const Case cases[] = {
      {"line loop", "$eventflag 1\r\n", 0, [](script::Engine& e) { ScriptInterpreter(e); },
       [](const script::Engine& e) { return e.script.state.EventFlag(1) == 0; }},
      {"jump", ":top\r\n$jmp top\r\n", 14, [](script::Engine& e) { Jmp(e, "$jmp top"); },
       [](const script::Engine& e) { return e.script.position == 14; }},
      {"choice items", "$selarea a.bmp\r\n(0,0,10,10,ok,0)\r\nselend\r\n", 14,
       [](script::Engine& e) { Selarea(e, "$selarea a.bmp"); },
       [](const script::Engine& e) { return e.script.choices.count == 0; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeGame game(c.script);
    game.engine.script.position = c.position;
    game.engine.services.closing = true;
    bool stopped = false;
    std::thread interpreter([&] {
      platform::Clock::MarkThreadInterruptible();
      try {
        c.run(game.engine);
      } catch (const platform::StopSignal&) {
        stopped = true;
      } catch (...) {
      }
    });
    interpreter.join();
    EXPECT_TRUE(stopped);
    EXPECT_TRUE(c.untouched(game.engine));
  }
}

}  // namespace
}  // namespace qv::script
