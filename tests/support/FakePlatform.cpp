// In-memory fakes of the platform services (see FakePlatform.h).
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "graphics/Compositing.h"
#include "platform/StopSignal.h"
#include "platform/TemporaryNames.h"

namespace qv::test {

bool FakeClock::RunNextDueBy(uint64_t ms) {
  auto next = scheduled_.begin();
  if (next == scheduled_.end() || next->first > ms) return false;
  now_ = std::max(now_, next->first);
  auto action = std::move(next->second);
  scheduled_.erase(next);
  action();
  return true;
}

bool FakeClock::await(const Condition& ready, std::optional<uint64_t> deadlineMs) {
  for (;;) {
    if (stop_ && ThreadIsInterruptible()) throw platform::StopSignal{};
    if (ready && ready()) return true;
    const uint64_t limit = deadlineMs ? *deadlineMs : UINT64_MAX;
    if (RunNextDueBy(limit)) continue;
    if (!deadlineMs) {
      if (endlessWaitStops) throw platform::StopSignal{};
      ADD_FAILURE() << "await without a deadline on a false condition would block forever";
      throw std::logic_error("FakeClock: endless wait");
    }
    now_ = std::max(now_, *deadlineMs);
    return ready && ready();
  }
}

uint32_t FakeUi::PopupMenu(const platform::MenuItem& root, int, int) {
  menus.push_back(root);
  if (menuChoices.empty()) return 0;
  uint32_t choice = menuChoices.front();
  menuChoices.pop_front();
  return choice;
}

int FakeUi::NameEntry(const std::string&, const std::string&, const std::string& initialText,
                      const std::function<platform::NameVerdict(const std::string&)>& onOk) {
  nameInitialTexts.push_back(initialText);
  while (!nameAnswers.empty()) {
    auto answer = nameAnswers.front();
    nameAnswers.pop_front();
    if (!answer) return 2;
    if (onOk(*answer) == platform::NameVerdict::Accept) return 1;
  }
  return 2;
}

std::vector<std::string> FakeFiles::ListGameFolder() {
  std::vector<std::string> names;
  for (const auto& [path, bytes] : files) {
    std::string_view name = path;
    if (name.starts_with(base_)) name.remove_prefix(base_.size());
    if (name.find_first_of("\\/") == std::string_view::npos) names.emplace_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

int FakeFiles::RemoveStaleTemporaries(std::string_view folderPath) {
  const std::string prefix = std::string(folderPath) + "\\";
  return static_cast<int>(std::erase_if(files, [&](const auto& entry) {
    std::string_view path = entry.first;
    if (!path.starts_with(prefix)) return false;
    path.remove_prefix(prefix.size());
    return path.find_first_of("\\/") == std::string_view::npos && platform::IsTemporaryName(path);
  }));
}

namespace {

class FakeDisc final : public platform::OpticalDisc {
 public:
  FakeDisc(std::vector<bool> audioTracks, std::shared_ptr<int> openCount)
      : audioTracks_(std::move(audioTracks)), openCount_(std::move(openCount)) {
    ++*openCount_;
  }
  ~FakeDisc() override { --*openCount_; }
  bool IsAudioTrack(int track) override {
    return track >= 1 && static_cast<size_t>(track) <= audioTracks_.size() &&
           audioTracks_[static_cast<size_t>(track) - 1];
  }

 private:
  std::vector<bool> audioTracks_;
  std::shared_ptr<int> openCount_;
};

}  // namespace

std::unique_ptr<platform::OpticalDisc> FakeOpticalDrives::Open(const std::string& name) {
  opened.push_back(name);
  for (const Drive& drive : drives) {
    if (drive.name == name && drive.opens) {
      return std::make_unique<FakeDisc>(drive.audioTracks, openDiscs);
    }
  }
  return nullptr;
}

FakeGame::FakeGame(std::string_view script) {
  engine.services.baseDirectory = kFakeBaseDirectory;
  engine.services.config.found = true;
  engine.services.config.windowName = "T";
  engine.services.windowProcedure = &procedure;
  fakes.window.procedure = &procedure;
  auto text = std::make_shared<core::ScriptText>();
  text->bytes.assign(script.begin(), script.end());
  text->bytes.push_back(core::ScriptText::kEndMarker);
  text->bytes.push_back(0);
  text->size = static_cast<uint32_t>(script.size());
  engine.script.SetText(std::move(text));
}

uint32_t FakeGame::IndexOf(std::string_view text) const {
  size_t at = engine.script.Text()->View().find(text);
  EXPECT_NE(at, std::string_view::npos) << "not in the script: " << text;
  return static_cast<uint32_t>(at);
}

int FakeGame::CreateFrame(int width, int height) {
  engine.services.config.width = width;
  engine.services.config.height = height;
  fakes.window.Create("test", width, height);
  return graphics::CreateSurfaces(engine.view);
}

}  // namespace qv::test
