// qvplay's command line as the program answers it, and the headless run's per-event
// observer: one report per event performed, how many events are used up, an idle that ran out.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/HeadlessRun.h"
#include "script/Engine.h"
#include "support/HeadlessGame.h"

namespace qv::test {
namespace {

// Runs qvplay with `arguments` (after `environment`, for example "env -u DISPLAY") and gives
// its exit status; what it printed goes to `output`.
int RunQvplay(const std::string& arguments, std::string& output,
              const std::string& environment = "") {
  const std::string command = environment + " " + QV_QVPLAY_PATH + " " + arguments + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  output.clear();
  char buffer[256];
  while (fgets(buffer, sizeof buffer, pipe)) output += buffer;
  return WEXITSTATUS(pclose(pipe));
}

// Usage mistakes exit with 2, and so does a missing game; a missing display is one line; a
// headless run writes its log and states.
TEST(QvplayProgram, AnswersItsCommandLine) {
  TempDir dir;
  WriteGame(dir, {"hello\n$C\n"});
  WriteFile(dir.Path() + "/bad.txt", "click here\n");
  WriteFile(dir.Path() + "/ev.txt", "idle\nstate s\nclick 1 1\n");
  const std::string game = " " + dir.Path() + "/game";
  const struct {
    std::string arguments;
    int status;
    std::string output;  // a part of what it says
  } rows[] = {
      {"--help", 0, "Usage: qvplay"},
      {"--version", 0, "qvplay "},
      {"--frobnicate", 2, "qvplay: unknown option '--frobnicate'"},
      {"--scale 0", 2, "qvplay: --scale takes a whole number from 1 to 8, not '0'"},
      {"--headless --scale", 2, "qvplay: option --scale needs a value"},
      {"a b", 2, "qvplay: more than one game folder given ('a' and 'b')"},
      {"--events x" + game, 2, "qvplay: --events and --out need --headless"},
      {"/no/such/folder", 2, "qvplay: /no/such/folder is not a folder"},
      // No folder named and none here: what it looks for and how to get the sample.
      {"", 2, "qvtool make-sample DIR"},
      {"--headless --events absent.txt" + game, 2, "qvplay: cannot read the events file"},
      {"--headless --events " + dir.Path() + "/bad.txt" + game, 2, dir.Path() + "/bad.txt:1:"},
      {"--fullscreen --window --scale 2" + game, 1, "qvplay: "},
      {"--headless --events ev.txt --out out" + game, 0, ""},
  };
  for (const auto& row : rows) {
    std::string out;
    const int status = RunQvplay(row.arguments, out,
                                 "cd " + dir.Path() +
                                     " && env -u DISPLAY -u WAYLAND_DISPLAY "
                                     "-u SDL_VIDEODRIVER QVENGINE_LOCK_DIR=" +
                                     dir.Path());
    EXPECT_EQ(status, row.status) << row.arguments << "\n" << out;
    EXPECT_NE(out.find(row.output), std::string::npos) << row.arguments << "\n" << out;
    EXPECT_TRUE(row.status != 1 || std::count(out.begin(), out.end(), '\n') == 1) << out;
  }
  // The font's file depends on the machine, the box naming the missing logo's path on the
  // folder; the rest of the log does not. One character's time (1 ms at the default speed) for
  // each of the five letters.
  const std::string log = ReadFile(dir.Path() + "/out/events.log");
  EXPECT_EQ(log.rfind("0 font ", 0), 0u) << log;
  EXPECT_TRUE(log.ends_with("0 logo missing\n0 page\n0 text hello\n5 halt wait\n5 exit 0\n"))
      << log;
  EXPECT_TRUE(FileExists(dir.Path() + "/out/s.json"));
}

using Kind = platform::headless::ScriptedEvent::Kind;

TEST(HeadlessRun, TheObserverSeesEveryEventAndAnIdleThatRanOut) {
  TempDir dir;
  // Longer than an idle waits: the first idle runs out inside the pause.
  WriteGame(dir, {"$wait 700000\n一行目\n$C\n"});
  app::HeadlessRunOptions options;
  options.gameDir = dir.Path() + "/game";
  options.outDir = dir.Path() + "/out";
  options.lockDir = dir.Path();
  options.eventsText = "idle\nanswer ok\nidle\n";
  struct Seen {
    Kind kind;
    size_t taken;
    bool idleTimedOut;
    uint32_t position;
  };
  std::vector<Seen> seen;
  options.afterEvent = [&](script::Engine& engine, const platform::headless::EventReport& report) {
    seen.push_back({report.event.kind, report.taken, report.idleTimedOut, engine.script.position});
  };
  EXPECT_EQ(app::RunHeadless(options), 0);
  // The three events, then the runner's own closing idle and close.
  ASSERT_EQ(seen.size(), 5u);
  EXPECT_EQ(seen[0].kind, Kind::Idle);
  EXPECT_TRUE(seen[0].idleTimedOut);
  EXPECT_EQ(seen[0].taken, 1u);
  EXPECT_FALSE(seen[2].idleTimedOut);  // the pause ended and the text halts for a click
  EXPECT_GT(seen[2].position, seen[0].position);
  EXPECT_EQ(seen[4].kind, Kind::Close);
  EXPECT_EQ(seen[4].taken, 3u);
}

}  // namespace
}  // namespace qv::test
