// The system menu (see SystemMenu.h).
#include "shell/SystemMenu.h"

#include <array>
#include <utility>

#include "core/SettingsFile.h"
#include "core/WindowRequests.h"
#include "resources/SystemMenuResource.h"
#include "script/Interpreter.h"
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

bool Confirm(core::Engine& engine, const char* question) {
  return core::ShowMessage(engine, core::texts::kConfirmCaption, question,
                           platform::BoxButtons::OkCancel,
                           platform::BoxIcon::None) == platform::BoxAnswer::Ok;
}

}  // namespace

int RefreshMenuChecks(core::Engine& engine, MenuItem& menu) {
  CheckGroup(menu, kSpeeds, engine.env.messageSpeed.load());
  Check(menu, ID_FULLSCREEN, engine.env.windowed == 0);
  Check(menu, ID_EFFECTS, engine.env.screenEffects != 0);
  CheckGroup(menu, kSeVolumes, engine.env.seVolume.load());
  CheckGroup(menu, kBgmVolumes, engine.env.bgmVolume.load());
  if (MenuItem* item = Find(menu, ID_AUTO)) item->greyed = engine.screenMode != 0;
  core::SaveEnvSettings(engine, core::kNoImageFlag);
  return 1;
}

void ShowSystemMenu(core::Engine& engine, MenuItem& menu, uint32_t position) {
  if (engine.advanceMode == 1) SetSkipMode(engine, false);
  RefreshMenuChecks(engine, menu);
  uint32_t id =
      engine.platform.ui.PopupMenu(menu, platform::PointX(position), platform::PointY(position));
  if (id != 0) {
    platform::Message command;
    command.id = platform::MSG_COMMAND;
    command.wParam = id;
    engine.platform.window.Post(command);
  }
}

void RunMenuCommand(core::Engine& engine, MenuItem& menu, uint32_t id) {
  if (id == ID_QUIT) {
    if (Confirm(engine, core::texts::kQuitQuestion)) core::RequestClose(engine);
  } else if (id == ID_ABOUT) {
    engine.platform.ui.AboutBox("system version", {"クィレット　ver.1.31", "qvengine " QV_VERSION},
                                "閉じる");
  } else if (id == ID_FULLSCREEN) {
    SetDisplayMode(engine, engine.env.windowed == 1 ? 0 : 1);
    RefreshMenuChecks(engine, menu);
  } else if (auto* speed = Lookup(kSpeeds, id)) {
    engine.env.messageSpeed = speed->second;
    RefreshMenuChecks(engine, menu);
  } else if (id == ID_TITLE) {
    if (Confirm(engine, core::texts::kTitleQuestion)) script::RestartScript(engine);
  } else if (id == ID_AUTO) {
    if (engine.screenMode != 0) return;
    SetAutoMode(engine, engine.advanceMode != 0 ? 0 : 3);
  } else if (id == ID_EFFECTS) {
    engine.env.screenEffects = 1 - engine.env.screenEffects;
    RefreshMenuChecks(engine, menu);
  } else if (auto* se = Lookup(kSeVolumes, id)) {
    // The marks follow at the next opening of the menu, as the players know it.
    engine.env.seVolume = se->second;
    engine.voicePlayer.volume = static_cast<int16_t>(se->second);
    core::SaveEnvSettings(engine, core::kNoImageFlag);
  } else if (auto* bgm = Lookup(kBgmVolumes, id)) {
    engine.env.bgmVolume = bgm->second;
    engine.musicPlayer.volume = static_cast<int16_t>(bgm->second);
    core::SaveEnvSettings(engine, core::kNoImageFlag);
  }
}

}  // namespace qv::shell
