// Background files for game makers (see BackgroundScramble.h).
#include "qvtool/BackgroundScramble.h"

#include <cstdint>
#include <span>

#include "graphics/PictureFile.h"

namespace qv::tool {

namespace {

std::span<const uint8_t> Bytes(std::string_view text) {
  return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

std::string Flipped(std::string_view bytes) {
  std::string out(bytes);
  graphics::ScrambleBackground({reinterpret_cast<uint8_t*>(out.data()), out.size()});
  return out;
}

// The engine checks a background's size against the game's frame, which the tool does not know;
// everything else about the picture is checked here.
bool IsBitmap(std::string_view bytes, std::string& why) {
  return graphics::DecodePicture(Bytes(bytes), graphics::PictureKind::Plain, 0, 0, why).has_value();
}

// `from` is turned into the other form; it must decode before (scrambling) or after (unscrambling).
std::optional<std::string> Convert(std::string_view from, bool fromIsPlain, std::string& problem) {
  std::string to = Flipped(from);
  std::string_view plain = fromIsPlain ? from : std::string_view(to);
  std::string_view other = fromIsPlain ? std::string_view(to) : from;
  std::string why;
  if (IsBitmap(plain, why)) return to;
  std::string ignored;
  if (IsBitmap(other, ignored)) {
    problem = fromIsPlain ? "already scrambled" : "not scrambled: it is a plain bitmap already";
  } else {
    problem = std::string(fromIsPlain ? "not" : "does not unscramble to") +
              " a 24-bit uncompressed bottom-up bitmap (" + why + ")";
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> ScrambleBackgroundFile(std::string_view plain, std::string& problem) {
  return Convert(plain, true, problem);
}

std::optional<std::string> UnscrambleBackgroundFile(std::string_view scrambled,
                                                    std::string& problem) {
  return Convert(scrambled, false, problem);
}

}  // namespace qv::tool
