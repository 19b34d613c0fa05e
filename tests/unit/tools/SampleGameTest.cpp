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
  EXPECT_EQ(files.size(), 33u);
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

// The sample script as the interpreter sees it: Shift-JIS lines, commands found by substring in
// the table's order, labels found by their first occurrence anywhere in the text.
class SampleScriptTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const TextConversion encoded = EncodeScript(SampleGameSources().script, cp932);
    ASSERT_TRUE(encoded.Succeeded());
    text = ScrambleScript(encoded.bytes);
    std::string_view rest = text;
    for (size_t end; (end = rest.find("\r\n")) != std::string_view::npos;
         rest.remove_prefix(end + 2)) {
      lines.push_back(rest.substr(0, end));
    }
    ASSERT_TRUE(rest.empty()) << "the sample ends with a line break";
  }

  static std::vector<std::string_view> Split(std::string_view line, char by) {
    std::vector<std::string_view> words;
    for (size_t start = 0, end; start <= line.size(); start = end + 1) {
      end = std::min(line.find(by, start), line.size());
      words.push_back(line.substr(start, end - start));
    }
    return words;
  }

  // The search text reaches the label line itself, not a longer label or some earlier mention.
  void ExpectJumpLandsOnLabel(std::string_view label, std::string_view line) {
    const std::string search = ":" + std::string(label);
    const size_t at = text.find(search);
    ASSERT_NE(at, std::string::npos) << line;
    EXPECT_TRUE(at == 0 || text[at - 1] == '\n') << line;
    EXPECT_EQ(text.substr(at + search.size(), 2), "\r\n") << line;
  }

  platform::posix::IconvCp932 cp932;
  std::string text;
  std::vector<std::string_view> lines;
};

TEST_F(SampleScriptTest, CommandsReachTheirHandlersAndTextFitsTheLineBuffer) {
  const std::string placeholder = "\x81\x96\x81\x96\x81\x96";
  for (std::string_view line : lines) {
    // Wait codes are searched before anything else, so they must stand alone.
    const bool hasCode = line.find("$C") != line.npos || line.find("$P") != line.npos ||
                         line.find("$W") != line.npos || line.find("$S") != line.npos;
    if (hasCode) {
      EXPECT_TRUE(line == "$C" || line == "$P" || line == "$W") << line;
    }
    if (!line.empty() && line[0] == '$' && !hasCode && line != "$flagselend") {
      const script::Command* command = script::FindCommand(line);
      ASSERT_NE(command, nullptr) << line;
      EXPECT_EQ(command->keyword, Split(line, ' ')[0].substr(1)) << line;
    }
    // Even a player name of the full 10 bytes in place of the placeholder must fit.
    const size_t named = line.size() + (line.find(placeholder) != line.npos ? 10 - 6 : 0);
    EXPECT_LE(named, kMaxLineBytes) << line;
  }
}

TEST_F(SampleScriptTest, EveryJumpAndChoiceItemFindsItsLabel) {
  size_t jumps = 0, items = 0;
  for (std::string_view line : lines) {
    if (line.starts_with('(')) {
      // Choice items name their label before the condition (the word choices' first).
      const auto fields = Split(line.substr(1), ',');
      const std::string_view label = fields.size() == 3 ? fields[0] : fields.at(4);
      if (label.find("*GameLoad") == std::string_view::npos) ExpectJumpLandsOnLabel(label, line);
      ++items;
    }
    const script::Command* command = line.starts_with('$') ? script::FindCommand(line) : nullptr;
    if (!command) continue;
    const auto words = Split(line, ' ');
    if (command->keyword == "jmp") {
      ExpectJumpLandsOnLabel(words.at(1), line);
      if (words.size() == 4 && words[2] == "return") ExpectJumpLandsOnLabel(words[3], line);
    } else if (command->keyword == "eventjudge") {
      ExpectJumpLandsOnLabel(words.at(2), line);
    } else if (command->keyword == "pointjudge") {
      ExpectJumpLandsOnLabel(words.at(3), line);
    } else {
      continue;
    }
    ++jumps;
  }
  EXPECT_GE(jumps, 6u);
  EXPECT_GE(items, 10u);
}

}  // namespace
}  // namespace qv::tool
