// The start-up logo: the reveal's strips and pace, the file's bytes. The right click that ends the
// hold is the end-to-end logo test's.
#include "screens/Logo.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/Bytes.h"
#include "graphics/PictureFile.h"
#include "support/FakePlatform.h"
#include "support/WavReader.h"
#include "unit/graphics/TransitionRig.h"

namespace qv::test {
namespace {

void PutLogo(FakeFiles& files, const std::vector<uint8_t>& file) {
  files.Put(std::string(kFakeBaseDirectory) + screens::kLogoPicturePath,
            std::string(file.begin(), file.end()));
}

// The black frame first, then strip pair k at 7k ms, left strips moving right from 0 and right
// strips left from 795, every column drawn once; the whole picture, then 150 rounds of 20 ms.
// Pinned as one digest of the frames (when, where, every window pixel) and the clock; two rows
// keep it quick, as the strips and the pace do not depend on the height.
TEST(LogoScreen, RevealsEveryColumnOnceFromBothEdgesEverySevenMsThenHoldsThreeSeconds) {
  TransitionRig rig(800, 2);
  rig.engine.services.baseDirectory = kFakeBaseDirectory;
  PutLogo(rig.fakes.files, graphics::EncodeBitmap(rig.engine.view.sceneSurface));
  rig.fakes.files.Put(std::string(kFakeBaseDirectory) + screens::kLogoSoundPath,
                      MakeWav(22050, 1, 16, std::vector<uint8_t>(4410, 1)));
  rig.DigestFrames();
  EXPECT_EQ(screens::ShowLogo(rig.engine.view), 1);
  rig.Fold({rig.fakes.clock.nowMs()});
  EXPECT_EQ(rig.digest, 0x63035c023d68c233u) << std::hex << "0x" << rig.digest;
  EXPECT_EQ(rig.fakes.audio.effectStops, 0);  // the sound plays on; its log is the replays'
}

TEST(LogoScreen, ShowsTheFrameBytesFromThePixelOffsetAndNeverReadsPastTheFile) {
  // An 8 x 2 frame is 48 bytes of rows.
  std::vector<uint8_t> rows(100);
  for (size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<uint8_t>(i + 1);
  auto withOffset = [&](uint32_t offset, size_t rowBytes) {
    std::vector<uint8_t> file(offset + rowBytes, 0);  // no signature: the header is not read
    core::StoreI32(file.data() + 10, static_cast<int32_t>(offset));
    std::copy_n(rows.begin(), rowBytes, file.begin() + offset);
    return file;
  };
  std::vector<uint8_t> pastTheEnd = withOffset(54, 10);
  core::StoreI32(pastTheEnd.data() + 10, 1 << 30);
  struct Case {
    const char* what;
    std::vector<uint8_t> file;
    size_t shownBytes;  // of `rows`; the rest stays black
  } cases[] = {
      {"a larger picture at another offset: its first bytes", withOffset(70, 100), 48},
      {"a short file", withOffset(54, 20), 20},
      {"the offset past the end", pastTheEnd, 0},
      {"no room for the offset", {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54}, 0},
  };
  for (const Case& c : cases) {
    FakeGame fresh{"x\r\n"};
    ASSERT_EQ(fresh.CreateFrame(8, 2), 1);
    std::memset(fresh.fakes.window.picture.data(), 0xEE, fresh.fakes.window.picture.size());
    PutLogo(fresh.fakes.files, c.file);
    EXPECT_EQ(screens::ShowLogo(fresh.engine.view), 1) << c.what;
    std::vector<uint8_t> expected(48, 0);
    std::copy_n(rows.begin(), c.shownBytes, expected.begin());
    EXPECT_EQ(fresh.fakes.window.picture, expected) << c.what;
  }
}

}  // namespace
}  // namespace qv::test
