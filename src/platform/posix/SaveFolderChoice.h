// Where a game's save folder lives on the host: in the game folder, or the user's data folder.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace qv::platform::posix {

// What the game folder looks like to the process.
struct SaveFolderFacts {
  bool saveFolderExists = false;  // the game folder's own save folder
  bool saveFolderWritable = false;
  bool gameFolderWritable = false;
};

enum class SavePlace {
  GameFolder,            // the save folder inside the game folder (made there when missing)
  DataFolder,            // the user's data folder: the game folder cannot take a save folder
  DataFolderWithCopies,  // the same, first taking copies of a read-only save folder's files
};

// An existing writable save folder always wins, so saves made before stay where they are.
SavePlace ChooseSavePlace(const SaveFolderFacts& facts);

// `dataHome`/qvengine/NAME/save, NAME the instance name (UTF-8) made a safe file name; empty
// when there is no data home.
std::string DataSaveFolder(std::string_view dataHome, std::string_view instanceNameUtf8);

// What the choice asks of the system; tests give their own answers.
struct SaveFolderHost {
  std::string dataHome;  // $XDG_DATA_HOME when absolute, else $HOME/.local/share, else empty
  std::function<bool(const std::string& folder)> writable;  // new files can be made inside

  // The process's environment and its access rights.
  static SaveFolderHost FromProcess();
};

}  // namespace qv::platform::posix
