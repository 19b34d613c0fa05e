// qvplay's command line, parsed and as the program answers it, and the headless run's per-event
// observer: one report per event performed, how many events are used up, an idle that ran out.
#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/HeadlessRun.h"
#include "script/Engine.h"
#include "support/HeadlessGame.h"

namespace qv::test {
namespace {

TEST(CommandLine, OptionsTheGameFolderAndUsageErrors) {
  app::CommandLine line;
  std::string error;
  ASSERT_TRUE(app::ParseCommandLine(
      {"--headless", "--events", "e.txt", "--out", "o", "--window", "--scale", "2", "game"}, line,
      error));
  EXPECT_TRUE(line.headless);
  EXPECT_EQ(line.eventsFile, "e.txt");
  EXPECT_EQ(line.outDir, "o");
  EXPECT_TRUE(line.windowed);
  EXPECT_EQ(line.scale, 2);
  EXPECT_EQ(line.gameDir, "game");
  for (std::vector<std::string> args : {std::vector<std::string>{"--bogus"},
                                        {"--scale", "0"},
                                        {"--scale"},
                                        {"a", "b"},
                                        {"--events", "x"}}) {
    app::CommandLine fresh;
    error.clear();
    EXPECT_FALSE(app::ParseCommandLine(args, fresh, error)) << args[0];
    EXPECT_FALSE(error.empty());
  }
}

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

TEST(QvplayProgram, HelpVersionAndErrors) {
  std::string out;
  EXPECT_EQ(RunQvplay("--help", out), 0);
  EXPECT_NE(out.find("Usage: qvplay"), std::string::npos);
  EXPECT_EQ(RunQvplay("--version", out), 0);
  EXPECT_EQ(out.rfind("qvplay ", 0), 0u);
  EXPECT_EQ(RunQvplay("--frobnicate", out), 2);
  EXPECT_NE(out.find("unknown option '--frobnicate'"), std::string::npos);
  EXPECT_EQ(RunQvplay("/no/such/folder", out), 2);
  // No folder named and none here: what it looks for and how to get the sample.
  TempDir empty;
  EXPECT_EQ(RunQvplay("", out, "cd " + empty.Path() + " &&"), 2);
  EXPECT_NE(out.find("qvtool make-sample DIR"), std::string::npos) << out;
}

TEST(QvplayProgram, HeadlessRunWritesItsLogBadEventsAreRefusedAndNoDisplayIsOneLine) {
  TempDir dir;
  WriteGame(dir, {"hello\n$C\n"});
  WriteFile(dir.Path() + "/ev.txt", "idle\nstate s\nclick 1 1\n");
  const std::string env = "QVENGINE_LOCK_DIR=" + dir.Path();
  std::string out;
  EXPECT_EQ(RunQvplay("--window " + dir.Path() + "/game", out,
                      "env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER " + env),
            1);
  EXPECT_EQ(out.rfind("qvplay: ", 0), 0u) << out;
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
  EXPECT_EQ(RunQvplay("--headless --events " + dir.Path() + "/ev.txt --out " + dir.Path() +
                          "/out " + dir.Path() + "/game",
                      out, env),
            0)
      << out;
  std::string log = ReadFile(dir.Path() + "/out/events.log");
  // The font's file depends on the machine; the rest of the log does not.
  ASSERT_EQ(log.rfind("0 font ", 0), 0u);
  log.erase(0, log.find('\n') + 1);
  // The game has no logo: the box naming its path, then the line saying so.
  const std::string noLogo = "0 logo missing\n";
  ASSERT_NE(log.find(noLogo), std::string::npos) << log;
  log.erase(0, log.find(noLogo) + noLogo.size());
  // One character's time (1 ms at the default speed) for each of the five letters.
  EXPECT_EQ(log, "0 page\n0 text hello\n5 halt wait\n5 exit 0\n");
  EXPECT_TRUE(FileExists(dir.Path() + "/out/s.json"));
  WriteFile(dir.Path() + "/bad.txt", "click here\n");
  EXPECT_EQ(
      RunQvplay("--headless --events " + dir.Path() + "/bad.txt " + dir.Path() + "/game", out, env),
      2);
  EXPECT_NE(out.find("bad.txt:1:"), std::string::npos) << out;
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
