// Where the save folder is kept: the choice between the game folder and the data folder.
#include "platform/posix/SaveFolderChoice.h"

#include <gtest/gtest.h>

#include <string>

#include "support/ScopedEnv.h"

namespace qv::test {
namespace {

TEST(SaveFolderChoice, AWritableSaveFolderWinsElseTheDataFolderTakesOver) {
  using platform::posix::SavePlace;
  struct Case {
    bool saveExists, saveWritable, gameWritable;
    SavePlace place;
  } cases[] = {
      {true, true, false, SavePlace::GameFolder},  // saves made before stay where they are
      {true, true, true, SavePlace::GameFolder},
      {false, false, true, SavePlace::GameFolder},  // made in the game folder
      {false, false, false, SavePlace::DataFolder},
      {true, false, false, SavePlace::DataFolderWithCopies},
      {true, false, true, SavePlace::DataFolderWithCopies},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::posix::ChooseSavePlace({c.saveExists, c.saveWritable, c.gameWritable}),
              c.place)
        << c.saveExists << c.saveWritable << c.gameWritable;
  }
}

TEST(SaveFolderChoice, DataFolderFollowsXdgAndMakesTheInstanceNameAFileName) {
  struct Case {
    const char *xdg, *home, *instance, *folder;
  } cases[] = {
      {"/d", "/h", "test", "/d/qvengine/test/save"},
      {"relative", "/h", "test", "/h/.local/share/qvengine/test/save"},
      {nullptr, "/h/", "テスト", "/h/.local/share/qvengine/テスト/save"},
      {"/d/", "/h", "a/b\tc", "/d/qvengine/a_b_c/save"},
      {"/d", "/h", "..", "/d/qvengine/_../save"},
      {"/d", "/h", "", "/d/qvengine/_/save"},
      {nullptr, nullptr, "test", ""},
  };
  for (const Case& c : cases) {
    const ScopedEnv xdg("XDG_DATA_HOME", c.xdg), home("HOME", c.home);
    const auto host = platform::posix::SaveFolderHost::FromProcess();
    EXPECT_EQ(platform::posix::DataSaveFolder(host.dataHome, c.instance), c.folder) << c.instance;
  }
}

}  // namespace
}  // namespace qv::test
