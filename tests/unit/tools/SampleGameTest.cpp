// The bundled sample: the folder make-sample writes, and a script the interpreter reads as meant.
#include "qvtool/SampleGame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>

#include "platform/posix/IconvCp932.h"
#include "qvtool/FileIo.h"
#include "qvtool/SamplePictures.h"
#include "qvtool/SampleSounds.h"
#include "qvtool/ScriptCodec.h"
#include "script/Commands.h"
#include "support/HeadlessGame.h"

namespace qv::tool {
namespace {

std::string ReadOrFail(const std::filesystem::path& path) {
  std::string bytes, error;
  EXPECT_TRUE(ReadFileBytes(path, bytes, error)) << path << ": " << error;
  return bytes;
}

TEST(SampleGame, MakeSampleWritesThePlayableFilesTheSameOnEveryRun) {
  test::TempDir dir;
  const std::filesystem::path temp = dir.Path();
  platform::posix::IconvCp932 cp932;
  const auto folder = temp / "nested" / "sample";
  const GameFolderOutcome outcome = MakeSample(folder, cp932);
  ASSERT_TRUE(outcome.succeeded) << outcome.messages.front();
  EXPECT_TRUE(outcome.messages.empty());

  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  EXPECT_EQ(names,
            (std::set<std::string>{"bgm", "cg", "sample.ist", "sample.qv", "sound", "voice"}));

  // The built-in copy must match the sources in the tree, and survive the trip through the file.
  const std::string scriptSource =
      ReadOrFail(std::filesystem::path(QV_SOURCE_DIR) / "games/sample/script.txt");
  const ScriptDecoding script = DecodeScript(ReadOrFail(folder / "sample.qv"), cp932);
  EXPECT_EQ(script.key, core::kScriptKey);
  EXPECT_TRUE(script.text.bytes == scriptSource) << "the built-in sample is stale; rebuild";

  const std::string instance = ReadOrFail(folder / "sample.ist");
  for (const char* key : {"InstanceName=\"", "WindowWidth=\"800\"\r\n", "WindowHeight=\"600\"\r\n",
                          "GameType=\"0\"", "BGMType=\"WAVE\""}) {
    EXPECT_NE(instance.find(key), std::string::npos) << key;
  }
  EXPECT_NE(cp932.ToUtf8(instance).find("WindowName=\"qvengine サンプルゲーム\""),
            std::string::npos);

  // Every picture and sound in its place, byte for byte as made again here.
  std::vector<std::pair<std::string, std::vector<uint8_t>>> files;
  for (SamplePicture& p : SamplePictures(800, 600, 0)) files.emplace_back(p.path, p.bytes);
  for (SampleSound& s : SampleSounds().sounds) files.emplace_back(s.path, s.bytes);
  EXPECT_EQ(files.size(), 34u);
  for (auto& [path, expected] : files) {
    std::replace(path.begin(), path.end(), '\\', '/');
    EXPECT_TRUE(ReadOrFail(folder / path) == std::string(expected.begin(), expected.end())) << path;
  }
}

TEST(SampleGame, RefusesAFileForTheFolderAndWarnsOfAScriptPlayedFirst) {
  test::TempDir dir;
  const std::filesystem::path temp = dir.Path();
  platform::posix::IconvCp932 cp932;
  std::ofstream(temp / "occupied") << "keep me";
  GameFolderOutcome outcome = MakeSample(temp / "occupied", cp932);
  EXPECT_FALSE(outcome.succeeded);
  ASSERT_EQ(outcome.messages.size(), 1u);
  EXPECT_NE(outcome.messages[0].find("not a folder"), std::string::npos);
  EXPECT_EQ(ReadOrFail(temp / "occupied"), "keep me");

  std::filesystem::create_directory(temp / "game");
  std::ofstream(temp / "game" / "old.QV") << "x";
  std::ofstream(temp / "game" / "zz.qv") << "x";
  outcome = MakeSample(temp / "game", cp932);
  ASSERT_TRUE(outcome.succeeded);
  ASSERT_EQ(outcome.messages.size(), 1u);
  EXPECT_NE(outcome.messages[0].find("old.QV"), std::string::npos);
}

std::vector<std::string_view> Split(std::string_view line, char by) {
  std::vector<std::string_view> words;
  for (size_t start = 0, end; start <= line.size(); start = end + 1) {
    end = std::min(line.find(by, start), line.size());
    words.push_back(line.substr(start, end - start));
  }
  return words;
}

// The sample script as the interpreter reads it: Shift-JIS lines, commands found by substring in
// the table's order, labels found by their first occurrence anywhere in the text. The e2e run
// plays one way through; this checks the branches it does not take.
TEST(SampleScript, EveryJumpAndChoiceItemFindsItsLabel) {
  platform::posix::IconvCp932 cp932;
  const TextConversion encoded = EncodeScript(SampleGameSources().script, cp932);
  ASSERT_TRUE(encoded.Succeeded());
  EXPECT_TRUE(encoded.warnings.empty()) << "a line longer than the interpreter keeps";
  const std::string text = ScrambleScript(encoded.bytes);
  ASSERT_TRUE(text.ends_with("\r\n"));
  // The search text reaches the label line itself, not a longer label or some earlier mention.
  auto expectLabel = [&](std::string_view label, std::string_view line) {
    const std::string search = ":" + std::string(label);
    const size_t at = text.find(search);
    ASSERT_NE(at, std::string::npos) << line;
    EXPECT_TRUE(at == 0 || text[at - 1] == '\n') << line;
    EXPECT_EQ(text.substr(at + search.size(), 2), "\r\n") << line;
  };
  size_t jumps = 0, items = 0;
  for (std::string_view line : Split(text, '\n')) {
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.starts_with('(')) {
      // Choice items name their label before the condition (the word choices' first).
      const auto fields = Split(line.substr(1), ',');
      const std::string_view label = fields.size() == 3 ? fields[0] : fields.at(4);
      if (label != "*GameLoad") expectLabel(label, line);
      ++items;
    }
    const script::Command* command = line.starts_with('$') ? script::FindCommand(line) : nullptr;
    if (!command) continue;
    const auto words = Split(line, ' ');
    if (command->keyword == "jmp") {
      expectLabel(words.at(1), line);
      if (words.size() == 4 && words[2] == "return") expectLabel(words[3], line);
    } else if (command->keyword == "eventjudge") {
      expectLabel(words.at(2), line);
    } else if (command->keyword == "pointjudge") {
      expectLabel(words.at(3), line);
    } else {
      continue;
    }
    ++jumps;
  }
  EXPECT_GE(jumps, 6u);
  EXPECT_GE(items, 10u);
}

// The return to the title restarts the script at byte 2 after a wait and at byte 0 after a
// choice: neither may land on a line that shows text, such as a comment missing its ';'.
TEST(SampleScript, TheReturnToTheTitleLandsOnNoVisibleLine) {
  platform::posix::IconvCp932 cp932;
  const std::string text = ScrambleScript(EncodeScript(SampleGameSources().script, cp932).bytes);
  for (size_t start : {0u, 2u}) {
    const std::string_view line =
        std::string_view(text).substr(start, text.find("\r\n", start) - start);
    EXPECT_TRUE(line.empty() || line[0] == ';' || line[0] == ':') << start << ": " << line;
  }
}

}  // namespace
}  // namespace qv::tool
