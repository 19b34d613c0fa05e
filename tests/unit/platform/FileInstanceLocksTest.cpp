// Where the single-instance locks live when the session has no runtime folder.
#include "platform/posix/FileInstanceLocks.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "support/HeadlessGame.h"

namespace qv::test {
namespace {

namespace fs = std::filesystem;

void MakeFolder(const std::string& path, mode_t mode) {
  fs::create_directory(path);
  chmod(path.c_str(), mode);
}

TEST(PrivateLockFolder, IsMadeForThisUserAloneAndRefusedWhenOthersCouldReachIt) {
  const struct {
    const char* name;
    std::function<void(const std::string& folder)> prepare;
    bool used;
  } cases[] = {
      {"made", [](const std::string&) {}, true},
      {"kept", [](const std::string& f) { MakeFolder(f, 0700); }, true},
      {"open to others", [](const std::string& f) { MakeFolder(f, 0777); }, false},
      {"symlink",
       [](const std::string& f) {
         MakeFolder(f + ".real", 0700);
         fs::create_directory_symlink(f + ".real", f);
       },
       false},
      {"file", [](const std::string& f) { WriteFile(f, ""); }, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir root;
    const std::string folder = root.Path() + "/qvengine-" + std::to_string(geteuid());
    c.prepare(folder);
    EXPECT_EQ(platform::posix::PrivateLockFolder(root.Path()), c.used ? folder : "");
    if (!c.used) continue;
    struct stat info {};
    ASSERT_EQ(lstat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode, S_IFDIR | 0700u);
  }
}

}  // namespace
}  // namespace qv::test
