// File access for the engine: Windows-style game paths resolved inside the game folder.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::platform {

// A moment in the local time zone (TZ honoured), as a file's last-write time is shown.
struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// Paths handed to Files are the engine's own: the base directory followed by a relative part, or
// the relative part alone, in the game's bytes (code page 932 or UTF-8), with '\' or '/' between
// components. Each component is matched case-insensitively against what is on disk, and nothing
// outside the game folder is ever reached.
class Files {
 public:
  virtual ~Files() = default;

  // The base directory every engine path starts with (ends with a separator).
  virtual const std::string& BaseDirectory() const = 0;

  // Names of the plain files directly inside the game folder, sorted by their bytes.
  virtual std::vector<std::string> ListGameFolder() = 0;

  // The host path for an engine path, or nothing when it would leave the game folder. A missing
  // last component is kept as written (so new files can be created).
  virtual std::optional<std::string> Resolve(std::string_view enginePath) = 0;

  virtual bool Exists(std::string_view enginePath) = 0;
  virtual bool IsDirectory(std::string_view enginePath) = 0;
  virtual bool CreateDirectory(std::string_view enginePath) = 0;

  // The whole file, or nothing when it cannot be read.
  virtual std::optional<std::vector<uint8_t>> ReadAll(std::string_view enginePath) = 0;
  // Up to `maxBytes` from the start of the file.
  virtual std::optional<std::vector<uint8_t>> ReadPrefix(std::string_view enginePath,
                                                         size_t maxBytes) = 0;

  // The file's last-write time in local time, or nothing when it cannot be read.
  virtual std::optional<LocalTime> LastWriteTime(std::string_view enginePath) = 0;

  // Writes a temporary file beside the target, flushes it, renames it over the target and
  // flushes the folder, so a kill or a power cut leaves either the old or the new file, never a
  // torn one or none. The file's last-write time becomes the time of writing. False on any
  // failure before the rename, with the old file still in place and no temporary file left;
  // true once the new file is in place, even when the folder's flush then fails (said on
  // stderr: the rename may not outlive a power cut).
  virtual bool ReplaceAtomically(std::string_view enginePath,
                                 const std::vector<uint8_t>& bytes) = 0;

  // Decides where `saveFolder` (an engine path naming a folder directly in the game folder) is
  // kept on the host: in the game folder while it can be written there, else in the user's data
  // folder for `instanceName` (the game's bytes), which then first takes copies of the files a
  // read-only save folder holds. Engine paths inside `saveFolder` lead there from then on.
  // Returns the host folder when it is not the game folder's own (for the one line saying so),
  // else nothing. Start-up only, before other threads use the files.
  virtual std::optional<std::string> PlaceSaveFolder(std::string_view saveFolder,
                                                     std::string_view instanceName) = 0;

  // Removes the temporary files an interrupted ReplaceAtomically left directly in the folder
  // (plain files named as platform::IsTemporaryName says) and returns how many. Start-up only:
  // a replacement under way would lose its temporary file.
  virtual int RemoveStaleTemporaries(std::string_view folderPath) = 0;
};

}  // namespace qv::platform
