// The headless runner's events file.
#include <string>
#include <vector>

#include "FuzzGame.h"
#include "platform/headless/EventScript.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<qv::platform::headless::ScriptedEvent> events;
  std::string error;
  qv::platform::headless::ParseEventScript(std::string(qv::fuzz::Bytes(data, size)), events, error);
  return 0;
}
