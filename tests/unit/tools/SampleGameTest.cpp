// The bundled sample: the folder make-sample writes, and a script the interpreter reads as meant.
#include "qvtool/SampleGame.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "platform/posix/IconvCp932.h"
#include "qvtool/FileIo.h"
#include "qvtool/ScriptCodec.h"
#include "unit/tools/TempFolder.h"

namespace qv::tool {
namespace {

std::string ReadOrFail(const std::filesystem::path& path) {
  std::string bytes, error;
  EXPECT_TRUE(ReadFileBytes(path, bytes, error)) << path << ": " << error;
  return bytes;
}

TEST(SampleGame, MakeSampleWritesThePlayableFiles) {
  test::TempFolder temp;
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
}

TEST(SampleGame, RefusesAFileWhereTheFolderShouldBe) {
  test::TempFolder temp;
  platform::posix::IconvCp932 cp932;
  std::ofstream(temp / "occupied") << "keep me";
  const GameFolderOutcome outcome = MakeSample(temp / "occupied", cp932);
  EXPECT_FALSE(outcome.succeeded);
  ASSERT_EQ(outcome.messages.size(), 1u);
  EXPECT_NE(outcome.messages[0].find("not a folder"), std::string::npos);
  EXPECT_EQ(ReadOrFail(temp / "occupied"), "keep me");
}

TEST(SampleGame, WarnsWhenAnotherScriptWouldBePlayedFirst) {
  test::TempFolder temp;
  platform::posix::IconvCp932 cp932;
  std::ofstream(temp / "old.QV") << "x";
  std::ofstream(temp / "zz.qv") << "x";
  const GameFolderOutcome outcome = MakeSample(temp.Path(), cp932);
  ASSERT_TRUE(outcome.succeeded);
  ASSERT_EQ(outcome.messages.size(), 1u);
  EXPECT_NE(outcome.messages[0].find("old.QV"), std::string::npos);
}

// The sample script as the interpreter sees it: Shift-JIS lines, commands found by substring in a
// fixed order, labels found by their first occurrence anywhere in the text.
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

  static std::string_view Dispatched(std::string_view line) {
    static const char* const kOrder[] = {
        "name_entry",  "flagreset",  "jmp",       "returnto",    "eventflag",   "eventjudge",
        "pointflag",   "pointjudge", "random",    "recflag",     "brightness",  "subeffect",
        "effect",      "maskefct",   "spralpha",  "alphadepth",  "imgblt",      "blt",
        "exit_game",   "syncstart",  "syncexit",  "synctiming",  "BGMWave",     "cdda",
        "wave",        "talk",       "OGGPlay",   "selarea",     "selword",     "flagselect",
        "wait",        "fill",       "sprite",    "windowopen",  "windowclose", "statuswindow",
        "commandopen", "statusctrl", "stuffroll", "RecNameLoad", "statetitle"};
    for (const char* keyword : kOrder) {
      if (line.find(keyword) != std::string_view::npos) return keyword;
    }
    return "";
  }

  static std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    size_t start = 0;
    while (start <= line.size()) {
      const size_t end = std::min(line.find(' ', start), line.size());
      words.push_back(line.substr(start, end - start));
      start = end + 1;
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

TEST_F(SampleScriptTest, EveryCommandReachesItsOwnHandler) {
  for (std::string_view line : lines) {
    if (line.empty() || line[0] != '$' || line.size() == 2 || line == "$flagselend") continue;
    EXPECT_EQ(Dispatched(line), Words(line)[0].substr(1)) << line;
  }
}

TEST_F(SampleScriptTest, WaitCodesStandAloneAndTextFitsTheLineBuffer) {
  const std::string placeholder = "\x81\x96\x81\x96\x81\x96";
  for (std::string_view line : lines) {
    const bool hasCode = line.find("$C") != line.npos || line.find("$P") != line.npos ||
                         line.find("$W") != line.npos || line.find("$S") != line.npos;
    if (hasCode) {
      EXPECT_TRUE(line == "$C" || line == "$P" || line == "$W") << line;
    }
    // Even a player name of the full 10 bytes in place of the placeholder must fit.
    const size_t named = line.size() + (line.find(placeholder) != line.npos ? 10 - 6 : 0);
    EXPECT_LE(named, kMaxLineBytes) << line;
  }
}

TEST_F(SampleScriptTest, EveryJumpFindsItsLabel) {
  size_t jumps = 0;
  for (std::string_view line : lines) {
    if (line.empty() || line[0] != '$') continue;
    const std::string_view command = Dispatched(line);
    const auto words = Words(line);
    if (command == "jmp") {
      ExpectJumpLandsOnLabel(words.at(1), line);
      if (words.size() == 4 && words[2] == "return") ExpectJumpLandsOnLabel(words[3], line);
    } else if (command == "eventjudge") {
      ExpectJumpLandsOnLabel(words.at(2), line);
    } else if (command == "pointjudge") {
      ExpectJumpLandsOnLabel(words.at(3), line);
    } else {
      continue;
    }
    ++jumps;
  }
  EXPECT_GE(jumps, 6u);
}

// Choice items name their labels in the field before the condition (the word choices' first).
TEST_F(SampleScriptTest, EveryChoiceItemFindsItsLabel) {
  size_t items = 0;
  for (std::string_view line : lines) {
    if (line.empty() || line[0] != '(') continue;
    std::vector<std::string_view> fields;
    for (size_t start = 1, end; start <= line.size(); start = end + 1) {
      end = std::min(line.find(',', start), line.size());
      fields.push_back(line.substr(start, end - start));
    }
    const std::string_view label = fields.size() == 3 ? fields[0] : fields.at(4);
    if (label.find("*GameLoad") == std::string_view::npos) ExpectJumpLandsOnLabel(label, line);
    ++items;
  }
  EXPECT_GE(items, 10u);
}

TEST_F(SampleScriptTest, ExercisesTheCommandsOfTheFoundation) {
  std::set<std::string_view> used;
  for (std::string_view line : lines) {
    if (!line.empty() && line[0] == '$') used.insert(line.size() == 2 ? line : Dispatched(line));
  }
  for (const char* command :
       {"$C",          "$P",         "$W",        "flagreset",  "jmp",    "returnto",
        "eventflag",   "eventjudge", "pointflag", "pointjudge", "random", "recflag",
        "exit_game",   "syncstart",  "syncexit",  "synctiming", "wait",   "statuswindow",
        "commandopen", "statusctrl", "stuffroll", "statetitle", "selarea", "selword",
        "flagselect", "OGGPlay", "talk", "wave"}) {
    EXPECT_TRUE(used.count(command)) << command;
  }
  EXPECT_NE(text.find("\x81\x96\x81\x96\x81\x96"), std::string::npos) << "name placeholder";
}

}  // namespace
}  // namespace qv::tool
