// The line reader against a move by another thread, and closing, which stops the interpreter where
// a script never waits.
#include "script/ScriptFile.h"

#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "platform/Clock.h"
#include "platform/StopSignal.h"
#include "script/Commands.h"
#include "script/Interpreter.h"
#include "support/FakePlatform.h"

namespace qv::test {
namespace {

// A return to the title sets the position to 0 from the window thread while a line is read.
TEST(LineReader, AMoveByAnotherThreadMidLineWinsAndDropsTheLine) {
  const uint32_t lineEnd = 16 << 20;  // long enough to be caught in the middle
  core::ScriptText script;
  script.bytes.assign(lineEnd, 'z');
  script.bytes.insert(script.bytes.end(), {'\r', '\n', core::ScriptText::kEndMarker, 0});
  script.size = lineEnd + 2;
  std::atomic<uint32_t> position{0};
  std::atomic<bool> watching{false};
  std::thread restart([&] {
    watching = true;
    for (;;) {
      uint32_t at = position.load();
      if (at >= lineEnd) return;  // too late: the test fails below
      if (at > 0 && position.compare_exchange_strong(at, 0)) return;
    }
  });
  while (!watching) std::this_thread::yield();
  const std::string line = script::ReadLine(script, position);
  restart.join();
  EXPECT_EQ(position, 0u);
  EXPECT_EQ(line, "");
}

// Closing stops the interpreter where a script never waits: the line loop, jumps, choice items.
TEST(StopIfClosing, TheLineLoopJumpsAndItemReadingUnwindBeforeDoingAnything) {
  struct Case {
    const char* name;
    const char* script;
    uint32_t position;  // where the interpreter stands: the line's start, or its CR for a command
    std::function<void(script::Engine&)> run;
    std::function<bool(const script::Engine&)> untouched;
  };
  const Case cases[] = {
      {"line loop", "$eventflag 1\r\n", 0, [](script::Engine& e) { script::ScriptInterpreter(e); },
       [](const script::Engine& e) { return e.script.state.EventFlag(1) == 0; }},
      {"jump", ":top\r\n$jmp top\r\n", 14, [](script::Engine& e) { script::Jmp(e, "$jmp top"); },
       [](const script::Engine& e) { return e.script.position == 14; }},
      {"choice items", "$selarea a.bmp\r\n(0,0,10,10,ok,0)\r\nselend\r\n", 14,
       [](script::Engine& e) { script::Selarea(e, "$selarea a.bmp"); },
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
}  // namespace qv::test
