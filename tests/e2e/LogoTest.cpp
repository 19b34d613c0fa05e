// The start-up logo in headless runs: the right click that ends it and its sound, a missing logo.
// The reveal's pace and the whole hold are the logo screen's own tests.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "core/Surface.h"
#include "graphics/PictureFile.h"
#include "support/HeadlessGame.h"
#include "support/WavReader.h"

namespace qv::test {
namespace {

using ::testing::ElementsAre;

const std::string kInstance =
    "InstanceName=\"logo\" WindowName=\"ロゴ\" WindowWidth=\"800\" WindowHeight=\"600\"\n";
const std::string kScript = "hello\n$C\nworld\n$C\n";

// The sound outlasts the reveal and is cut by the right click; neither click reaches the game.
TEST(Logo, ARightClickEndsTheHoldAtOnceAndStopsTheSoundALeftClickDoesNot) {
  TempDir dir;
  const std::string folder = WriteGame(dir, {kScript, kInstance});
  core::Surface logo(800, 600);
  for (size_t i = 0; i < logo.SizeBytes(); ++i) logo.Data()[i] = static_cast<uint8_t>(i % 251);
  const std::vector<uint8_t> file = graphics::EncodeBitmap(logo);
  WriteFile(folder + "/cg/menu/logo.bmp", std::string(file.begin(), file.end()));
  WriteFile(folder + "/sound/logo.wav", MakeWav(22050, 1, 16, std::vector<uint8_t>(88200, 7)));
  // The click is taken at the first round after the reveal (580 ms) and swallowed; the wait
  // counts from the next round.
  GameRun run = Play(dir, "click 1 1\nwait 1000\nrclick 1 1\n");
  EXPECT_EQ(run.Times()["logo end rclick"], 1600);
  EXPECT_THAT(run.Events(), ElementsAre("logo", "se sound\\logo.wav", "logo end rclick",
                                        "text hello", "halt wait", "exit 0"));
  const auto se = ReadWav(run.outDir + "/se.wav");
  ASSERT_TRUE(se);
  EXPECT_EQ(se->samples.size(), 22050u * 1600 / 1000);
}

TEST(Logo, AMissingLogoIsReportedByItsPathAndTheGameStarts) {
  TempDir dir;
  GameRun run = PlayGame(dir, {kScript}, "");
  const auto all = run.AllEvents();
  const auto box = std::find_if(all.begin(), all.end(),
                                [](const std::string& e) { return e.starts_with("msgbox"); });
  ASSERT_NE(box, all.end());
  EXPECT_EQ(*box, "msgbox テスト | " + dir.Path() + "/game/cg\\menu\\logo.bmp -> ok");
  EXPECT_EQ(*std::next(box), "logo missing");
  EXPECT_EQ(run.Times()["logo missing"], 0);
  EXPECT_THAT(run.Events(), ElementsAre("text hello", "halt wait", "exit 0"));
}

}  // namespace
}  // namespace qv::test
