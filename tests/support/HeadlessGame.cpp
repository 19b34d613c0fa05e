// Test support: headless games in temporary folders (see HeadlessGame.h).
#include "support/HeadlessGame.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/CommandLine.h"
#include "app/HeadlessRun.h"
#include "platform/common/TableCp932.h"
#include "qvtool/GameFolder.h"
#include "support/PngReader.h"

namespace qv::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::string pattern = (fs::temp_directory_path() / "qvtest-XXXXXX").string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (!mkdtemp(name.data())) throw std::runtime_error("mkdtemp failed");
  path_ = name.data();
}

TempDir::~TempDir() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::map<std::string, long> GameRun::Times() const {
  std::istringstream in(log);
  std::map<std::string, long> times;
  for (std::string line; std::getline(in, line);) {
    times.emplace(line.substr(line.find(' ') + 1), std::stol(line));
  }
  return times;
}

std::vector<std::string> GameRun::Events() const {
  std::vector<std::string> lines;
  std::istringstream in(log);
  for (std::string line; std::getline(in, line);) {
    line = line.substr(line.find(' ') + 1);  // without its time
    if (line == "page" || line.starts_with("font ")) continue;
    // The test games have no logo: its box and the line after it open every run.
    if (line == "logo missing") {
      if (!lines.empty() && lines.back().starts_with("msgbox ") &&
          lines.back().ends_with("logo.bmp -> ok")) {
        lines.pop_back();
      }
      continue;
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string WriteGame(const TempDir& dir, const TestGame& game) {
  platform::TableCp932 cp932;
  tool::GameSources sources;
  sources.instance = game.instance;
  sources.script = game.script;
  std::string folder = dir.Path() + "/game";
  auto outcome = tool::WriteGameFolder(folder, sources, cp932);
  EXPECT_TRUE(outcome.succeeded) << (outcome.messages.empty() ? "" : outcome.messages[0]);
  return folder;
}

namespace {

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
    text.replace(at, from.size(), to);
  return text;
}

// The log with each font line's file left out (the two builds find the same face in different
// folders) and the minutes of slots written during the runs (the second run may be a minute on).
std::string Comparable(const std::string& log) {
  std::istringstream in(log);
  std::string out;
  for (std::string line; std::getline(in, line);) {
    if (line.find(" font ") != std::string::npos) line = line.substr(0, line.find(" -> "));
    const size_t slot = line.find(" slot ");
    const size_t date = slot == std::string::npos ? slot : line.find(' ', slot + 6) + 1;
    if (slot != std::string::npos && line.size() > date + 16 && line.substr(date, 4) >= "2020")
      line.replace(date, 16, "YYYY/MM/DD hh:mm");
    out += line + "\n";
  }
  return out;
}

// Within `step` of each other, sample by sample (16-bit recordings past their header) or byte by
// byte (pictures), with at most `count` places apart.
bool Near(const std::vector<int>& a, const std::vector<int>& b, int step, size_t count) {
  size_t apart = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::abs(a[i] - b[i]) > step) return false;
    apart += a[i] != b[i];
  }
  return a.size() == b.size() && apart <= count;
}

std::vector<int> Samples(const std::string& wav) {
  std::vector<int> samples;
  for (size_t i = 44; i + 1 < wav.size(); i += 2)
    samples.push_back(static_cast<int16_t>(uint8_t(wav[i]) | uint8_t(wav[i + 1]) << 8));
  return samples;
}

std::vector<int> Pixels(const std::string& png) {
  const Capture capture = ReadCapture(png);
  return {capture.rgb.begin(), capture.rgb.end()};
}

// The web build's qvplay (QV_WEB_QVPLAY, its .js) plays a copy of the game as it was before
// `run` under Node and must leave the same outputs: the log, states and the game folder byte for
// byte; the recordings within one step a sample (Debian's libvorbis is built with -ffast-math);
// the shots byte for byte but for a few glyph edge pixels a step or two apart (the same FreeType
// built for WebAssembly, where `long` has 32 bits, rounds a few coverages differently).
void ExpectSameInWebBuild(const std::string& script, const std::string& before,
                          const std::string& game, const GameRun& run, const std::string& events,
                          const std::vector<std::string>& options) {
  const std::string webOut = run.outDir + "-web";
  WriteFile(webOut + ".events", events);
  std::string command = "node --no-experimental-fetch '" + script + "'";
  for (const std::string& option : options) command += " '" + option + "'";
  command += " --headless --events '" + webOut + ".events' --out '" + webOut + "' '" + before +
             "' >'" + webOut + ".stderr' 2>&1";
  const int status = std::system(command.c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == run.exitCode)
      << command << "\n"
      << ReadFile(webOut + ".stderr");
  for (const auto& entry : fs::recursive_directory_iterator(run.outDir)) {
    if (!entry.is_regular_file()) continue;
    const std::string name = fs::relative(entry.path(), run.outDir).string();
    const std::string mine = ReadFile(entry.path());
    const std::string web = ReadFile(webOut + "/" + name);
    if (name.ends_with(".wav")) {
      EXPECT_TRUE(Near(Samples(web), Samples(mine), 1, mine.size())) << name << " differs";
    } else if (name.ends_with(".png") && web != mine) {
      EXPECT_TRUE(Near(Pixels(webOut + "/" + name), Pixels(entry.path()), 4, 24))
          << name << " differs";
    } else if (name == "events.log") {
      EXPECT_EQ(Comparable(Replaced(web, before, game)), Comparable(mine));
    } else {
      EXPECT_TRUE(Replaced(web, before, game) == mine) << name << " differs";
    }
  }
  // Print Screen's files are named after the wall clock's second.
  for (const auto& entry : fs::recursive_directory_iterator(game)) {
    const std::string name = fs::relative(entry.path(), game).string();
    if (entry.is_regular_file() && entry.path().filename().string().find("shot-") != 0) {
      EXPECT_TRUE(Replaced(ReadFile(before + "/" + name), before, game) == ReadFile(entry.path()))
          << name << " differs";
    }
  }
  fs::remove_all(before);
}

}  // namespace

GameRun Play(const TempDir& dir, const std::string& events,
             const std::vector<std::string>& options) {
  static int runs = 0;
  GameRun run;
  run.outDir = dir.Path() + "/out" + std::to_string(++runs);
  app::CommandLine line;
  std::string error;
  EXPECT_TRUE(app::ParseCommandLine(options, line, error)) << error;
  app::HeadlessRunOptions headless;
  headless.startup = app::StartupFrom(line);
  headless.gameDir = dir.Path() + "/game";
  fs::create_directories(headless.gameDir);
  const char* webBuild = std::getenv("QV_WEB_QVPLAY");
  // As long as the game's own path, so that paths inside the files compare.
  const std::string before = dir.Path() + "/webg";
  // cp keeps the files' dates, which the slot lists show.
  if (webBuild) {
    EXPECT_EQ(std::system(("cp -a '" + headless.gameDir + "' '" + before + "'").c_str()), 0);
  }
  headless.outDir = run.outDir;
  headless.eventsText = events;
  headless.lockDir = dir.Path();
  run.exitCode = app::RunHeadless(headless);
  run.log = ReadFile(run.outDir + "/events.log");
  if (webBuild) ExpectSameInWebBuild(webBuild, before, headless.gameDir, run, events, options);
  return run;
}

}  // namespace qv::test
