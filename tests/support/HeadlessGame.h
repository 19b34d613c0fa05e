// Test support: games written into a temporary folder and played headless in-process.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace qv::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

struct GameRun {
  int exitCode = -1;
  std::string outDir;
  std::string log;  // events.log as written
  // The log's events without their times, less the page clears, the font choice and a missing
  // logo's box and line, which most tests do not look at.
  std::vector<std::string> Events() const;
  // The virtual millisecond at which each event was first logged.
  std::map<std::string, long> Times() const;
};

// A small game: an instance file and a script, both UTF-8 (written out as the engine wants them).
struct TestGame {
  std::string script;
  std::string instance = "InstanceName=\"test\" WindowName=\"テスト\"\n";
};

// Writes `game` into DIR/game (replacing the script and instance file there).
std::string WriteGame(const TempDir& dir, const TestGame& game);
void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);

// Plays DIR/game headless with `events` and qvplay's `options`; each call gets its own output
// folder. The tests play the original's engine unless they ask for this one's additions.
GameRun Play(const TempDir& dir, const std::string& events,
             const std::vector<std::string>& options = {"--original"});

}  // namespace qv::test
