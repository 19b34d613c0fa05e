// In-memory fakes of every platform service, and an Engine built on them, for unit tests.
#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"
#include "script/Engine.h"
#include "support/FakeAudioDevice.h"
#include "support/FakeGlyphs.h"

namespace qv::test {

// A clock whose time moves only when a test advances it or the engine waits with a deadline, so
// nothing ever blocks: a wait with a deadline jumps to the deadline (or to the first scheduled
// action before it whose change makes the wait's condition true). A wait that could only end by
// another thread's action fails the test and throws instead of hanging. Single test thread.
class FakeClock final : public platform::Clock {
 public:
  uint64_t nowMs() override { return now_; }
  bool await(const Condition& ready, std::optional<uint64_t> deadlineMs) override;
  void update(const std::function<void()>& change) override { change(); }
  void requestStop() override { stop_ = true; }
  bool stopRequested() override { return stop_; }

  void SetNow(uint64_t ms) { now_ = ms; }
  // Runs `action` when a wait reaches `atMs`.
  void Schedule(uint64_t atMs, std::function<void()> action) {
    scheduled_.emplace(atMs, std::move(action));
  }

  // A wait that only another thread could end stops the caller (StopSignal, as at a close)
  // instead of failing: for the fuzzers, whose inputs may wait for a player who never comes.
  bool endlessWaitStops = false;

 private:
  bool RunNextDueBy(uint64_t ms);
  uint64_t now_ = 0;
  bool stop_ = false;
  std::multimap<uint64_t, std::function<void()>> scheduled_;
};

// A window procedure that records every message it is given.
class RecordingProcedure final : public platform::WindowProcedure {
 public:
  int32_t HandleMessage(const platform::Message& message) override {
    messages.push_back(message);
    return result;
  }
  // How often message `id` arrived.
  int Count(uint32_t id) const {
    return static_cast<int>(std::count_if(messages.begin(), messages.end(),
                                          [id](const platform::Message& m) { return m.id == id; }));
  }
  std::vector<platform::Message> messages;
  int32_t result = 0;
};

// A window without a screen: Send and Call run at once on the calling thread, and every message
// posted is recorded. It is its own window thread unless a test says otherwise.
class FakeWindow final : public platform::Window {
 public:
  bool Create(const std::string&, int w, int h) override {
    width = w;
    height = h;
    picture.assign(static_cast<size_t>(w) * h * 3, 0);
    return true;
  }
  // No test runs the loop or feeds input: the engine's handlers are called directly.
  int RunMessageLoop(platform::WindowProcedure&) override { return 0; }
  void PostQuit(int) override {}
  std::optional<platform::Message> TakePendingInput() override { return std::nullopt; }
  int32_t Send(const platform::Message& message) override {
    return procedure ? procedure->HandleMessage(message) : 0;
  }
  int32_t Call(const std::function<int32_t()>& work) override { return work(); }
  void Post(const platform::Message& message) override { posted.push_back(message); }
  void DispatchPendingRequests() override {}
  void SetTimer(uint32_t id, uint32_t periodMs) override { timers[id] = periodMs; }
  void KillTimer(uint32_t id) override { timers.erase(id); }
  bool IsWindowThread() const override { return windowThread; }
  uint32_t CursorPosition() override { return cursor; }
  // Sized at the first use, so an engine that never draws costs no picture (the fuzzers make
  // one for every input).
  uint8_t* Picture() override {
    if (picture.empty()) picture.assign(static_cast<size_t>(width) * height * 3, 0);
    return picture.data();
  }
  void Present(int x, int y, int w, int h) override {
    frames.push_back({clock ? clock->nowMs() : 0, x, y, w, h});
    if (onPresent) onPresent();
  }
  void SetIcon(const uint8_t* bgrBottomUp, int w, int h) override {
    icon.assign(bgrBottomUp, bgrBottomUp + static_cast<size_t>(w) * h * 3);
    iconWidth = w;
  }

  bool windowThread = true;
  platform::WindowProcedure* procedure = nullptr;  // Send hands messages on to it when set
  int width = 640, height = 480;
  std::vector<uint8_t> picture;
  std::vector<uint8_t> icon;  // the last SetIcon's pixels
  int iconWidth = 0;
  std::vector<platform::Message> posted;
  std::map<uint32_t, uint32_t> timers;
  uint32_t cursor = 0;
  platform::Clock* clock = nullptr;  // when set, each frame is stamped with its time
  struct Frame {
    uint64_t time;
    int x, y, w, h;
  };
  std::vector<Frame> frames;
  std::function<void()> onPresent;  // runs after each Present, with the frame in `picture`
};

// Records every box and menu; boxes are answered OK, menus and names from queues.
class FakeUi final : public platform::Ui {
 public:
  struct Box {
    std::string caption;
    std::string text;
    platform::BoxButtons buttons;
    platform::BoxIcon icon;
  };

  platform::BoxAnswer MessageBox(const std::string& caption, const std::string& text,
                                 platform::BoxButtons buttons, platform::BoxIcon icon) override {
    boxes.push_back({caption, text, buttons, icon});
    return platform::BoxAnswer::Ok;
  }
  uint32_t PopupMenu(const platform::MenuItem& root, int x, int y) override;
  void AboutBox(const std::string&, const std::vector<std::string>&, const std::string&) override {}
  int NameEntry(const std::string& caption, const std::string& prompt,
                const std::string& initialText,
                const std::function<platform::NameVerdict(const std::string&)>& onOk) override;

  std::vector<Box> boxes;
  std::vector<platform::MenuItem> menus;
  std::deque<uint32_t> menuChoices;  // empty: the menu is dismissed (0)
  // Each entry is typed and confirmed with OK until one is accepted; nullopt (or running out)
  // closes the dialog by its close box.
  std::deque<std::optional<std::string>> nameAnswers;
  std::vector<std::string> nameInitialTexts;
};

class FakeDisplay final : public platform::Display {
 public:
  void SetFullScreen(bool on) override { fullScreen = on; }
  bool FullScreen() const override { return fullScreen; }
  bool fullScreen = false;
};

// Files kept in memory under their engine paths, taken as plain strings (no case folding, no
// separator rewriting): a test reads back exactly the path the engine built.
class FakeFiles final : public platform::Files {
 public:
  explicit FakeFiles(std::string base) : base_(std::move(base)) {}
  const std::string& BaseDirectory() const override { return base_; }
  std::vector<std::string> ListGameFolder() override;
  std::optional<std::string> Resolve(std::string_view path) override { return std::string(path); }
  bool Exists(std::string_view path) override {
    return files.contains(path) || directories.contains(path);
  }
  bool IsDirectory(std::string_view path) override { return directories.contains(path); }
  bool CreateDirectory(std::string_view path) override { return directories.emplace(path), true; }
  std::optional<std::vector<uint8_t>> ReadAll(std::string_view path) override {
    auto it = files.find(path);
    return it == files.end() ? std::nullopt : std::optional(it->second);
  }
  std::optional<std::vector<uint8_t>> ReadPrefix(std::string_view path, size_t maxBytes) override {
    auto bytes = ReadAll(path);
    if (bytes && bytes->size() > maxBytes) bytes->resize(maxBytes);
    return bytes;
  }
  // No file has a time, so none shows a date.
  std::optional<platform::LocalTime> LastWriteTime(std::string_view) override {
    return std::nullopt;
  }
  bool ReplaceAtomically(std::string_view enginePath, const std::vector<uint8_t>& bytes) override {
    files.insert_or_assign(std::string(enginePath), bytes);
    return true;
  }
  // The save folder always stays in the game folder.
  std::optional<std::string> PlaceSaveFolder(std::string_view, std::string_view) override {
    return std::nullopt;
  }
  int RemoveStaleTemporaries(std::string_view folderPath) override;

  void Put(std::string_view path, std::string_view bytes) {
    files.insert_or_assign(std::string(path), std::vector<uint8_t>(bytes.begin(), bytes.end()));
  }

  std::map<std::string, std::vector<uint8_t>, std::less<>> files;
  std::set<std::string, std::less<>> directories;

 private:
  std::string base_;
};

// Passes bytes through: tests write their Shift-JIS texts as the UTF-8 they compare with.
class FakeCp932 final : public platform::Cp932 {
 public:
  std::string ToUtf8(std::string_view cp932) override { return std::string(cp932); }
  bool FromUtf8(std::string_view utf8, std::string& out, size_t&) override {
    out.assign(utf8);
    return true;
  }
};

class FakeEventLog final : public platform::EventLog {
 public:
  void Write(std::string_view line) override { lines.emplace_back(line); }
  bool Enabled() const override { return true; }
  std::vector<std::string> lines;
};

class FakeInstanceLocks final : public platform::InstanceLocks {
 public:
  std::unique_ptr<platform::InstanceLock> TryAcquire(std::string_view) override {
    return std::make_unique<platform::InstanceLock>();
  }
};

// Drives a test lays out: each with a name, whether it opens, and which of its tracks hold audio.
class FakeOpticalDrives final : public platform::OpticalDrives {
 public:
  struct Drive {
    std::string name;
    bool opens = true;
    std::vector<bool> audioTracks;  // track n is audioTracks[n - 1]; empty: no disc
  };

  std::vector<std::string> List() override {
    std::vector<std::string> names;
    for (const Drive& drive : drives) names.push_back(drive.name);
    return names;
  }
  std::unique_ptr<platform::OpticalDisc> Open(const std::string& drive) override;

  std::vector<Drive> drives;
  std::vector<std::string> opened;  // every Open asked for, in order
  // Discs opened and not yet destroyed.
  std::shared_ptr<int> openDiscs = std::make_shared<int>(0);
};

inline constexpr const char* kFakeBaseDirectory = "C:\\game\\";

// Every fake, bundled as the Platform an Engine is given.
struct FakePlatform {
  FakeClock clock;
  FakeWindow window;
  FakeUi ui;
  FakeDisplay display;
  FakeFiles files{kFakeBaseDirectory};
  FakeCp932 cp932;
  FakeEventLog log;
  FakeInstanceLocks locks;
  FakeOpticalDrives drives;
  FakeGlyphs glyphs;
  FakeAudioDevice audio;
  platform::Platform services{clock, window, ui,     display, files, cp932,
                              log,   locks,  drives, glyphs,  audio};
};

// An Engine on fakes, running `script` (plain text; the end marker and zero are appended). Window
// requests reach `procedure`, whether the engine sends them itself or through the window.
struct FakeGame {
  explicit FakeGame(std::string_view script);
  // Index of the first byte of `text` in the script (fails the test when absent).
  uint32_t IndexOf(std::string_view text) const;
  // A w x h frame: the instance's size, the window's picture and the engine's surfaces.
  // Returns what creating the surfaces returned.
  int CreateFrame(int width, int height);

  FakePlatform fakes;
  RecordingProcedure procedure;
  script::Engine engine{fakes.services};
};

}  // namespace qv::test
