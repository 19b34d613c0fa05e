// All-or-nothing writes: the target is replaced whole or left alone, and no temporary file stays.
#include "qvtool/FileIo.h"

#include <gtest/gtest.h>

#include "unit/tools/TempFolder.h"

namespace qv::tool {
namespace {

size_t CountEntries(const std::filesystem::path& folder) {
  size_t count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    (void)entry;
    ++count;
  }
  return count;
}

TEST(FileIo, ReplacesTheTargetWhole) {
  test::TempFolder folder;
  std::string error, bytes;
  ASSERT_TRUE(WriteFileAtomically(folder / "out.qv", "first version, longer", error)) << error;
  ASSERT_TRUE(WriteFileAtomically(folder / "out.qv", std::string("\0second", 7), error)) << error;
  ASSERT_TRUE(ReadFileBytes(folder / "out.qv", bytes, error)) << error;
  EXPECT_EQ(bytes, std::string("\0second", 7));
  EXPECT_EQ(CountEntries(folder.Path()), 1u);
}

TEST(FileIo, FailureLeavesTheFolderAsItWas) {
  test::TempFolder folder;
  std::filesystem::create_directory(folder / "taken");
  std::string error;
  EXPECT_FALSE(WriteFileAtomically(folder / "taken", "bytes", error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(std::filesystem::is_directory(folder / "taken"));
  EXPECT_EQ(CountEntries(folder.Path()), 1u);

  EXPECT_FALSE(WriteFileAtomically(folder / "missing" / "out.qv", "bytes", error));
  EXPECT_EQ(CountEntries(folder.Path()), 1u);
}

TEST(FileIo, ReadGivesTheSystemsReason) {
  test::TempFolder folder;
  std::string error, bytes;
  EXPECT_FALSE(ReadFileBytes(folder / "absent.txt", bytes, error));
  EXPECT_EQ(error, "No such file or directory");
  EXPECT_FALSE(ReadFileBytes(folder.Path(), bytes, error));
  EXPECT_EQ(error, "Is a directory");
}

}  // namespace
}  // namespace qv::tool
