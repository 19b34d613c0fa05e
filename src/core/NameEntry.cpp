// The name-entry dialog (see NameEntry.h).
#include "core/NameEntry.h"

#include "core/WindowRequests.h"

namespace qv::core {

platform::NameVerdict OfferName(Services& services, GameState& state, const std::string& utf8) {
  std::string sjis;
  size_t badOffset = 0;
  if (!services.platform.cp932.FromUtf8(utf8, sjis, badOffset)) {
    ShowMessage(services, texts::kNameErrorCaption, texts::kNameNotShiftJis,
                platform::BoxButtons::Ok, platform::BoxIcon::Warning);
    return platform::NameVerdict::Reject;
  }
  if (sjis.size() > kMaxNameBytes) {
    ShowMessage(services, texts::kNameErrorCaption, texts::kNameTooLong, platform::BoxButtons::Ok,
                platform::BoxIcon::Warning);
    return platform::NameVerdict::RejectAndClear;
  }
  state.SetText(GameState::kPlayerNameOffset, GameState::kPlayerNameSize, sjis);
  return platform::NameVerdict::Accept;
}

int RunNameEntry(Services& services, GameState& state) {
  auto run = [&services, &state]() -> int32_t {
    return services.platform.ui.NameEntry(
        texts::kNameEntryCaption, texts::kNameEntryPrompt, texts::kDefaultPlayerName,
        [&services, &state](const std::string& text) { return OfferName(services, state, text); });
  };
  auto& window = services.platform.window;
  if (!services.windowCreated || window.IsWindowThread()) return run();
  return window.Call(run);
}

}  // namespace qv::core
