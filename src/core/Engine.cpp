// The Engine's construction and the script snapshot (see Engine.h).
#include "core/Engine.h"

#include "core/WindowRequests.h"

namespace qv::core {

namespace {
// The players' own failure messages carry this caption instead of the window name.
constexpr const char* kPlayerCaption = "ブレイク";
}  // namespace

Engine::Engine(platform::Platform& services)
    : platform(services),
      gate(services.clock),
      musicPlayer(services.audio, services.files, platform::AudioChannel::Music,
                  [this](const std::string& text) { WarnFromPlayer(text); }),
      voicePlayer(
          services.audio, services.files, platform::AudioChannel::Voice,
          [this](const std::string& text) { WarnFromPlayer(text); }, &voicePlaying) {
  gate.SetHaltObserver([this](HaltReason reason) {
    if (platform.log.Enabled()) Log(std::string("halt ") + HaltReasonName(reason));
  });
}

void Engine::WarnFromPlayer(const std::string& text) {
  ShowMessage(*this, kPlayerCaption, text, platform::BoxButtons::Ok, platform::BoxIcon::Warning);
}

Engine::~Engine() {
  // Normally the window's close joined the interpreter already; this covers start-up failures
  // and tests that drop an engine mid-run.
  if (interpreterThread.joinable()) {
    platform.clock.requestStop();
    interpreterThread.join();
  }
  // The players' completions may still ask the engine for a message box or clear its flags, so
  // they stop while every other member is alive.
  musicPlayer.Stop();
  voicePlayer.Stop();
}

std::shared_ptr<const ScriptText> Engine::Script() const {
  std::lock_guard lock(scriptMutex_);
  return script_;
}

void Engine::SetScript(std::shared_ptr<const ScriptText> script) {
  std::lock_guard lock(scriptMutex_);
  script_ = std::move(script);
}

}  // namespace qv::core
