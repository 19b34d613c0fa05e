// The name-entry dialog (see NameEntry.h).
#include "core/NameEntry.h"

#include "core/WindowRequests.h"

namespace qv::core {

platform::NameVerdict OfferName(Engine& engine, const std::string& utf8) {
  std::string sjis;
  size_t badOffset = 0;
  if (!engine.platform.cp932.FromUtf8(utf8, sjis, badOffset)) {
    ShowMessage(engine, texts::kNameErrorCaption, texts::kNameNotShiftJis,
                platform::BoxButtons::Ok, platform::BoxIcon::Warning);
    return platform::NameVerdict::Reject;
  }
  if (sjis.size() > kMaxNameBytes) {
    ShowMessage(engine, texts::kNameErrorCaption, texts::kNameTooLong, platform::BoxButtons::Ok,
                platform::BoxIcon::Warning);
    return platform::NameVerdict::RejectAndClear;
  }
  engine.state.SetText(GameState::kPlayerNameOffset, GameState::kPlayerNameSize, sjis);
  return platform::NameVerdict::Accept;
}

int RunNameEntry(Engine& engine) {
  auto run = [&engine]() -> int32_t {
    return engine.platform.ui.NameEntry(texts::kNameEntryCaption, texts::kNameEntryPrompt,
                                        texts::kDefaultPlayerName,
                                        [&engine](const std::string& text) {
                                          return OfferName(engine, text);
                                        });
  };
  auto& window = engine.platform.window;
  if (!engine.windowCreated || window.IsWindowThread()) return run();
  return window.Call(run);
}

}  // namespace qv::core
