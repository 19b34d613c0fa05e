// Test support: headless games in temporary folders (see HeadlessGame.h).
#include "support/HeadlessGame.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/HeadlessRun.h"
#include "platform/common/TableCp932.h"
#include "qvtool/GameFolder.h"

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

bool FileExists(const std::string& path) {
  return fs::exists(path);
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

GameRun Play(const TempDir& dir, const std::string& events) {
  static int runs = 0;
  GameRun run;
  run.outDir = dir.Path() + "/out" + std::to_string(++runs);
  app::HeadlessRunOptions options;
  options.gameDir = dir.Path() + "/game";
  fs::create_directories(options.gameDir);
  options.outDir = run.outDir;
  options.eventsText = events;
  options.lockDir = dir.Path();
  run.exitCode = app::RunHeadless(options);
  run.log = ReadFile(run.outDir + "/events.log");
  return run;
}

GameRun PlayGame(const TempDir& dir, const TestGame& game, const std::string& events) {
  WriteGame(dir, game);
  return Play(dir, events);
}

}  // namespace qv::test
