// All-or-nothing writes: the target is replaced whole or left alone, and no temporary file stays.
#include "qvtool/FileIo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

#include "support/HeadlessGame.h"

namespace qv::tool {
namespace {

class FileIoTest : public ::testing::Test {
 protected:
  long Entries() const { return std::distance(std::filesystem::directory_iterator(folder), {}); }

  test::TempDir dir;
  const std::filesystem::path folder{dir.Path()};
  std::string error, bytes;
};

TEST_F(FileIoTest, ReplacesTheTargetWhole) {
  ASSERT_TRUE(WriteFileAtomically(folder / "out.qv", "first version, longer", error)) << error;
  ASSERT_TRUE(WriteFileAtomically(folder / "out.qv", std::string("\0second", 7), error)) << error;
  ASSERT_TRUE(ReadFileBytes(folder / "out.qv", bytes, error)) << error;
  EXPECT_EQ(bytes, std::string("\0second", 7));
  EXPECT_EQ(Entries(), 1);
}

// Reading a missing file is checked through qvtool's own message.
TEST_F(FileIoTest, FailuresLeaveTheFolderAsItWasAndGiveTheSystemsReason) {
  std::filesystem::create_directory(folder / "taken");
  EXPECT_FALSE(WriteFileAtomically(folder / "taken", "bytes", error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(std::filesystem::is_directory(folder / "taken"));
  EXPECT_FALSE(WriteFileAtomically(folder / "missing" / "out.qv", "bytes", error));
  EXPECT_EQ(Entries(), 1);
  EXPECT_FALSE(ReadFileBytes(folder / "taken", bytes, error));
  EXPECT_EQ(error, "Is a directory");
}

}  // namespace
}  // namespace qv::tool
