// The system menu (see SystemMenu.h).
#include "shell/SystemMenu.h"

#include <array>
#include <utility>

#include "core/PlayerSettingsFile.h"
#include "core/SettingsFile.h"
#include "core/WindowRequests.h"
#include "resources/SystemMenuResource.h"
#include "script/Interpreter.h"
#include "shell/Backlog.h"
#include "shell/DisplayMode.h"
#include "shell/MainWindow.h"

namespace qv::shell {

namespace {

using namespace resources;
using platform::MenuItem;

constexpr std::array<std::pair<uint32_t, int32_t>, 5> kSpeeds{{{ID_SPEED_FASTEST, 0},
                                                               {ID_SPEED_FAST, 1},
                                                               {ID_SPEED_NORMAL, 40},
                                                               {ID_SPEED_SLOW, 100},
                                                               {ID_SPEED_SLOWEST, 200}}};
constexpr std::array<std::pair<uint32_t, int16_t>, 5> kSeVolumes{
    {{ID_SE_100, 100}, {ID_SE_75, 75}, {ID_SE_50, 50}, {ID_SE_25, 25}, {ID_SE_0, 0}}};
constexpr std::array<std::pair<uint32_t, int16_t>, 5> kBgmVolumes{
    {{ID_BGM_100, 100}, {ID_BGM_75, 75}, {ID_BGM_50, 50}, {ID_BGM_25, 25}, {ID_BGM_0, 0}}};

MenuItem* Find(MenuItem& menu, uint32_t id) {
  for (MenuItem& item : menu.children) {
    if (item.kind == MenuItem::Kind::Command && item.id == id) return &item;
    if (item.kind == MenuItem::Kind::Submenu) {
      if (MenuItem* found = Find(item, id)) return found;
    }
  }
  return nullptr;
}

void Check(MenuItem& menu, uint32_t id, bool checked, bool radio = false) {
  if (MenuItem* item = Find(menu, id)) {
    item->checked = checked;
    item->radioCheck = radio;
  }
}

// A radio group's marks follow a value only when the value is one of the group's; any other
// value leaves the marks as they were.
template <typename Group, typename Value>
void CheckGroup(MenuItem& menu, const Group& group, Value value) {
  bool known = false;
  for (const auto& [id, v] : group) known = known || v == value;
  if (!known) return;
  for (const auto& [id, v] : group) Check(menu, id, v == value, true);
}

template <typename Group>
const std::pair<uint32_t, typename Group::value_type::second_type>* Lookup(const Group& group,
                                                                           uint32_t id) {
  for (const auto& entry : group) {
    if (entry.first == id) return &entry;
  }
  return nullptr;
}

bool Confirm(script::Engine& engine, const char* question) {
  return core::ShowMessage(engine.services, core::texts::kConfirmCaption, question,
                           platform::BoxButtons::OkCancel,
                           platform::BoxIcon::None) == platform::BoxAnswer::Ok;
}

}  // namespace

int RefreshMenuChecks(script::Engine& engine, MenuItem& menu) {
  // The original's items stay as they were; this engine's own follow them in one sub-menu.
  if (engine.services.comforts.enabled && !Find(menu, ID_SKIP_READ_ONLY)) {
    MenuItem separator;
    separator.kind = MenuItem::Kind::Separator;
    menu.children.push_back(separator);
    menu.children.push_back(LoadComfortsMenu());
  }
  Check(menu, ID_SKIP_READ_ONLY, engine.services.comforts.skipReadOnly);
  CheckGroup(menu, kSpeeds, engine.services.env.messageSpeed.load());
  Check(menu, ID_FULLSCREEN, engine.services.env.windowed == 0);
  Check(menu, ID_EFFECTS, engine.services.env.screenEffects != 0);
  CheckGroup(menu, kSeVolumes, engine.services.env.seVolume.load());
  CheckGroup(menu, kBgmVolumes, engine.services.env.bgmVolume.load());
  if (MenuItem* item = Find(menu, ID_AUTO))
    item->greyed = engine.input.screenMode != core::ScreenMode::Game;
  core::SaveEnvSettings(engine.services, core::kNoImageFlag);
  return 1;
}

void ShowSystemMenu(script::Engine& engine, MenuItem& menu, uint32_t position) {
  if (engine.input.advanceMode == core::AdvanceMode::Skip)
    SetSkipMode(engine.input, engine.services.env, engine.script.gate, false);
  RefreshMenuChecks(engine, menu);
  uint32_t id = engine.services.platform.ui.PopupMenu(menu, platform::PointX(position),
                                                      platform::PointY(position));
  if (id != 0) {
    platform::Message command;
    command.id = platform::MSG_COMMAND;
    command.wParam = id;
    engine.services.platform.window.Post(command);
  }
}

void RunMenuCommand(script::Engine& engine, MenuItem& menu, uint32_t id) {
  if (id == ID_QUIT) {
    if (Confirm(engine, core::texts::kQuitQuestion)) core::RequestClose(engine.services);
  } else if (id == ID_ABOUT) {
    engine.services.platform.ui.AboutBox(
        "system version", {"クィレット　ver.1.31", "qvengine " QV_VERSION}, "閉じる");
  } else if (id == ID_FULLSCREEN) {
    SetDisplayMode(engine, engine.services.env.windowed == 1 ? 0 : 1);
    RefreshMenuChecks(engine, menu);
  } else if (auto* speed = Lookup(kSpeeds, id)) {
    engine.services.env.messageSpeed = speed->second;
    RefreshMenuChecks(engine, menu);
  } else if (id == ID_TITLE) {
    if (Confirm(engine, core::texts::kTitleQuestion)) script::RestartScript(engine);
  } else if (id == ID_AUTO) {
    if (engine.input.screenMode != core::ScreenMode::Game) return;
    SetAutoMode(engine, engine.input.advanceMode != core::AdvanceMode::Normal ? 0 : 3);
  } else if (id == ID_EFFECTS) {
    engine.services.env.screenEffects = 1 - engine.services.env.screenEffects;
    RefreshMenuChecks(engine, menu);
  } else if (auto* se = Lookup(kSeVolumes, id)) {
    // The marks follow at the next opening of the menu, as the players know it.
    engine.services.env.seVolume = se->second;
    engine.audio.voicePlayer.volume = static_cast<int16_t>(se->second);
    core::SaveEnvSettings(engine.services, core::kNoImageFlag);
  } else if (auto* bgm = Lookup(kBgmVolumes, id)) {
    engine.services.env.bgmVolume = bgm->second;
    engine.audio.musicPlayer.volume = static_cast<int16_t>(bgm->second);
    core::SaveEnvSettings(engine.services, core::kNoImageFlag);
  } else if (id == ID_SKIP_READ_ONLY && engine.services.comforts.enabled) {
    engine.services.comforts.skipReadOnly = !engine.services.comforts.skipReadOnly;
    core::SavePlayerSettings(engine.services);
    RefreshMenuChecks(engine, menu);
  } else if (id == ID_BACKLOG && engine.services.comforts.enabled) {
    OpenBacklog(engine);
  } else if (id == ID_COPY_PAGE && engine.services.comforts.enabled) {
    engine.services.platform.window.SetClipboardText(CurrentPageText(engine));
  }
}

}  // namespace qv::shell
