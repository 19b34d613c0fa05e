// Requests of the window from any engine thread (see WindowRequests.h).
#include "core/WindowRequests.h"

namespace qv::core {

namespace {
platform::WindowProcedure* windowProcedureOf(Engine& engine) {
  return engine.windowProcedure;
}
}  // namespace

platform::BoxAnswer ShowMessage(Engine& engine, const std::string& caption, const std::string& text,
                                platform::BoxButtons buttons, platform::BoxIcon icon) {
  auto& window = engine.platform.window;
  if (!engine.windowCreated || window.IsWindowThread()) {
    return engine.platform.ui.MessageBox(caption, text, buttons, icon);
  }
  int32_t answer = window.Call([&] {
    return static_cast<int32_t>(engine.platform.ui.MessageBox(caption, text, buttons, icon));
  });
  return static_cast<platform::BoxAnswer>(answer);
}

void ShowWarning(Engine& engine, const std::string& textUtf8) {
  ShowMessage(engine, engine.Caption(), textUtf8, platform::BoxButtons::Ok,
              platform::BoxIcon::Warning);
}

int32_t SendToWindow(Engine& engine, const platform::Message& message) {
  auto& window = engine.platform.window;
  if (window.IsWindowThread()) {
    platform::WindowProcedure* procedure = windowProcedureOf(engine);
    return procedure ? procedure->HandleMessage(message) : 0;
  }
  return window.Send(message);
}

void RequestClose(Engine& engine) {
  platform::Message close;
  close.id = platform::MSG_CLOSE;
  SendToWindow(engine, close);
}

}  // namespace qv::core
