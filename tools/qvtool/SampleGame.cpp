// The bundled sample game: the sources built into the tool, and the playable folder they make.
#include "qvtool/SampleGame.h"

#include <string_view>
#include <system_error>

#include "qvtool/FileIo.h"
#include "qvtool/SamplePictures.h"
#include "qvtool/SampleSounds.h"
#include "qvtool/SampleSources.h"
#include "qvtool/ShiftJisText.h"
#include "shell/InstanceFile.h"

namespace qv::tool {

namespace {

std::string_view SampleSource(std::string_view name) {
  for (const EmbeddedFile& file : SampleSourceFiles()) {
    if (file.name == name) return file.bytes;
  }
  return {};
}

// The frame and message-window look the engine will read from the sample's instance file, so
// the pictures fit it.
core::InstanceConfig SampleInstance(platform::Cp932& cp932) {
  const TextConversion instance = ConvertToShiftJisText(SampleGameSources().instance, cp932);
  return shell::ParseInstanceFile(instance.bytes);
}

// Engine paths name folders with backslashes; on disk they are folders.
std::filesystem::path OnDisk(const std::filesystem::path& folder, std::string path) {
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return folder / path;
}

// Writes one file of the sample under its engine path; the reason on failure.
bool WriteSampleFile(const std::filesystem::path& folder, const std::string& enginePath,
                     const std::vector<uint8_t>& bytes, std::string& message) {
  const std::filesystem::path file = OnDisk(folder, enginePath);
  std::error_code error;
  std::filesystem::create_directories(file.parent_path(), error);
  std::string reason = error ? error.message() : "";
  if (!error && WriteFileAtomically(
                    file, {reinterpret_cast<const char*>(bytes.data()), bytes.size()}, reason)) {
    return true;
  }
  message = file.string() + ": cannot write: " + reason;
  return false;
}

}  // namespace

GameSources SampleGameSources() {
  GameSources sources;
  sources.baseName = "sample";
  sources.instance = SampleSource("sample.ist.txt");
  sources.script = SampleSource("script.txt");
  sources.instanceOrigin = "games/sample/sample.ist.txt";
  sources.scriptOrigin = "games/sample/script.txt";
  return sources;
}

GameFolderOutcome MakeSample(const std::filesystem::path& folder, platform::Cp932& cp932) {
  GameFolderOutcome outcome = WriteGameFolder(folder, SampleGameSources(), cp932);
  if (!outcome.succeeded) return outcome;
  const core::InstanceConfig config = SampleInstance(cp932);
  std::string message;
  for (const SamplePicture& picture :
       SamplePictures(config.width, config.height, config.gameType)) {
    if (!WriteSampleFile(folder, picture.path, picture.bytes, message)) {
      outcome.succeeded = false;
      outcome.messages = {message};
      return outcome;
    }
  }
  const SampleSoundsOutcome sounds = SampleSounds();
  if (!sounds.succeeded) {
    outcome.succeeded = false;
    outcome.messages = {"cannot make the sample's sounds: " + sounds.error};
    return outcome;
  }
  for (const SampleSound& sound : sounds.sounds) {
    if (!WriteSampleFile(folder, sound.path, sound.bytes, message)) {
      outcome.succeeded = false;
      outcome.messages = {message};
      return outcome;
    }
  }
  return outcome;
}

}  // namespace qv::tool
