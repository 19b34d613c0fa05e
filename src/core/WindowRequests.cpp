// Requests of the window from any engine thread (see WindowRequests.h).
#include "core/WindowRequests.h"

namespace qv::core {

namespace {
platform::WindowProcedure* windowProcedureOf(Services& services) {
  return services.windowProcedure;
}
}  // namespace

platform::BoxAnswer ShowMessage(Services& services, const std::string& caption,
                                const std::string& text, platform::BoxButtons buttons,
                                platform::BoxIcon icon) {
  auto& window = services.platform.window;
  if (!services.windowCreated || window.IsWindowThread()) {
    return services.platform.ui.MessageBox(caption, text, buttons, icon);
  }
  int32_t answer = window.Call([&] {
    return static_cast<int32_t>(services.platform.ui.MessageBox(caption, text, buttons, icon));
  });
  return static_cast<platform::BoxAnswer>(answer);
}

void ShowWarning(Services& services, const std::string& textUtf8) {
  ShowMessage(services, services.Caption(), textUtf8, platform::BoxButtons::Ok,
              platform::BoxIcon::Warning);
}

int32_t SendToWindow(Services& services, const platform::Message& message) {
  auto& window = services.platform.window;
  if (window.IsWindowThread()) {
    platform::WindowProcedure* procedure = windowProcedureOf(services);
    return procedure ? procedure->HandleMessage(message) : 0;
  }
  return window.Send(message);
}

void RequestClose(Services& services) {
  platform::Message close;
  close.id = platform::MSG_CLOSE;
  SendToWindow(services, close);
}

}  // namespace qv::core
