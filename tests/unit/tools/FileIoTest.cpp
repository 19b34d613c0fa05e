// All-or-nothing writes: the target is replaced whole or left alone, and no temporary file stays.
#include "qvtool/FileIo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

#include "support/HeadlessGame.h"

namespace qv::tool {
namespace {

long CountEntries(const std::filesystem::path& folder) {
  return std::distance(std::filesystem::directory_iterator(folder), {});
}

TEST(FileIo, ReplacesTheTargetWhole) {
  test::TempDir dir;
  const std::filesystem::path folder = dir.Path();
  std::string error, bytes;
  ASSERT_TRUE(WriteFileAtomically(folder / "out.qv", "first version, longer", error)) << error;
  ASSERT_TRUE(WriteFileAtomically(folder / "out.qv", std::string("\0second", 7), error)) << error;
  ASSERT_TRUE(ReadFileBytes(folder / "out.qv", bytes, error)) << error;
  EXPECT_EQ(bytes, std::string("\0second", 7));
  EXPECT_EQ(CountEntries(folder), 1);
}

TEST(FileIo, FailureLeavesTheFolderAsItWas) {
  test::TempDir dir;
  const std::filesystem::path folder = dir.Path();
  std::filesystem::create_directory(folder / "taken");
  std::string error;
  EXPECT_FALSE(WriteFileAtomically(folder / "taken", "bytes", error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(std::filesystem::is_directory(folder / "taken"));
  EXPECT_EQ(CountEntries(folder), 1);

  EXPECT_FALSE(WriteFileAtomically(folder / "missing" / "out.qv", "bytes", error));
  EXPECT_EQ(CountEntries(folder), 1);
}

TEST(FileIo, ReadGivesTheSystemsReason) {
  test::TempDir dir;
  const std::filesystem::path folder = dir.Path();
  std::string error, bytes;
  EXPECT_FALSE(ReadFileBytes(folder / "absent.txt", bytes, error));
  EXPECT_EQ(error, "No such file or directory");
  EXPECT_FALSE(ReadFileBytes(folder, bytes, error));
  EXPECT_EQ(error, "Is a directory");
}

}  // namespace
}  // namespace qv::tool
