// Parsing the events file (see EventScript.h).
#include "platform/headless/EventScript.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <sstream>
#include <string_view>

namespace qv::platform::headless {

namespace {

bool ParseInt(const std::string& word, long min, long max, long& out) {
  if (word.empty()) return false;
  errno = 0;
  char* end = nullptr;
  int base = word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X') ? 16 : 10;
  long value = std::strtol(word.c_str(), &end, base);
  if (errno != 0 || *end != '\0' || value < min || value > max) return false;
  out = value;
  return true;
}

// In the order of platform::PadButton.
constexpr std::array<std::string_view, 12> kPadNames{"a",  "b",  "x",  "y",    "back", "start",
                                                     "lb", "rb", "up", "down", "left", "right"};

// Names for shot and state files: no path separators, nothing hidden.
bool GoodFileName(const std::string& name) {
  if (name.empty() || name[0] == '.' || name.size() > 100) return false;
  for (char c : name) {
    bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
              c == '-' || c == '_' || c == '.';
    if (!ok) return false;
  }
  return true;
}

}  // namespace

bool ParseEventScript(const std::string& text, std::vector<ScriptedEvent>& events,
                      std::string& error) {
  std::istringstream in(text);
  std::string raw;
  int number = 0;
  while (std::getline(in, raw)) {
    ++number;
    std::string body = raw.substr(0, raw.find('#'));
    while (!body.empty() && (body.back() == '\r' || body.back() == ' ' || body.back() == '\t')) {
      body.pop_back();
    }
    std::istringstream words(body);
    std::string verb;
    if (!(words >> verb)) continue;
    std::vector<std::string> args;
    for (std::string w; words >> w;) args.push_back(w);
    ScriptedEvent event;
    event.line = number;
    auto fail = [&](const std::string& why) {
      error = std::to_string(number) + ": " + why + " in '" + body + "'";
      return false;
    };
    auto point = [&](ScriptedEvent::Kind kind) {
      long x, y;
      if (args.size() != 2 || !ParseInt(args[0], -32768, 32767, x) ||
          !ParseInt(args[1], -32768, 32767, y)) {
        return false;
      }
      event.kind = kind;
      event.x = static_cast<int>(x);
      event.y = static_cast<int>(y);
      return true;
    };
    long value = 0;
    if (verb == "click" || verb == "rclick" || verb == "move") {
      auto kind = verb == "click"    ? ScriptedEvent::Kind::Click
                  : verb == "rclick" ? ScriptedEvent::Kind::RightClick
                                     : ScriptedEvent::Kind::Move;
      if (!point(kind)) return fail("expected two coordinates");
    } else if (verb == "key") {
      if (args.size() != 1 || !ParseInt(args[0], 0, 255, value)) {
        return fail("expected a virtual-key code 0-255");
      }
      event.kind = ScriptedEvent::Kind::Key;
      event.value = static_cast<uint32_t>(value);
    } else if (verb == "keydown") {
      if (args.size() != 1 || !ParseInt(args[0], 0, 255, value)) {
        return fail("expected a virtual-key code 0-255");
      }
      event.kind = ScriptedEvent::Kind::KeyDown;
      event.value = static_cast<uint32_t>(value);
    } else if (verb == "wheel") {
      if (args.size() != 1 || !ParseInt(args[0], -100, 100, value) || value == 0) {
        return fail("expected notches, -100 to 100 and not 0");
      }
      event.kind = ScriptedEvent::Kind::Wheel;
      event.value = static_cast<uint32_t>(static_cast<int32_t>(value));
    } else if (verb == "pad") {
      const auto button =
          args.empty() ? kPadNames.end() : std::find(kPadNames.begin(), kPadNames.end(), args[0]);
      if (args.empty() || args.size() > 2 || button == kPadNames.end() ||
          (args.size() == 2 && args[1] != "down" && args[1] != "up")) {
        return fail(
            "expected a button (a b x y back start lb rb up down left right), then down or up");
      }
      event.kind = ScriptedEvent::Kind::Pad;
      event.value = static_cast<uint32_t>(button - kPadNames.begin());
      event.x = args.size() == 1 ? 2 : args[1] == "down" ? 1 : 0;
    } else if (verb == "padplug" || verb == "padunplug") {
      if (!args.empty()) return fail("takes no arguments");
      event.kind =
          verb == "padplug" ? ScriptedEvent::Kind::PadPlug : ScriptedEvent::Kind::PadUnplug;
    } else if (verb == "wait") {
      if (args.size() != 1 || !ParseInt(args[0], 0, 86400000, value)) {
        return fail("expected milliseconds");
      }
      event.kind = ScriptedEvent::Kind::Wait;
      event.value = static_cast<uint32_t>(value);
    } else if (verb == "idle" || verb == "close" || verb == "nameclose") {
      if (!args.empty()) return fail("takes no arguments");
      event.kind = verb == "idle"    ? ScriptedEvent::Kind::Idle
                   : verb == "close" ? ScriptedEvent::Kind::Close
                                     : ScriptedEvent::Kind::NameClose;
    } else if (verb == "menu") {
      if (args.size() != 1 || !ParseInt(args[0], 1, 65535, value)) {
        return fail("expected a command id");
      }
      event.kind = ScriptedEvent::Kind::Menu;
      event.value = static_cast<uint32_t>(value);
    } else if (verb == "answer") {
      if (args.size() != 1 || (args[0] != "ok" && args[0] != "cancel")) {
        return fail("expected ok or cancel");
      }
      event.kind =
          args[0] == "ok" ? ScriptedEvent::Kind::AnswerOk : ScriptedEvent::Kind::AnswerCancel;
    } else if (verb == "name") {
      // The rest of the line after one separator is the name, spaces included.
      size_t at = body.find("name") + 4;
      event.kind = ScriptedEvent::Kind::Name;
      event.text = at < body.size() ? body.substr(at + 1) : std::string();
    } else if (verb == "shot" || verb == "state") {
      if (args.size() != 1 || !GoodFileName(args[0])) {
        return fail("expected a plain file name (letters, digits, - _ .)");
      }
      event.kind = verb == "shot" ? ScriptedEvent::Kind::Shot : ScriptedEvent::Kind::State;
      event.text = args[0];
    } else {
      return fail("unknown event '" + verb + "'");
    }
    events.push_back(std::move(event));
  }
  return true;
}

}  // namespace qv::platform::headless
