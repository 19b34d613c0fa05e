// The font rasteriser of real and headless play (see FreeTypeGlyphs.h).
#include "platform/fonts/FreeTypeGlyphs.h"

#include "platform/fonts/FontLocator.h"
#include "platform/fonts/FreeTypeFont.h"
#include "platform/fonts/FreeTypeLibrary.h"

namespace qv::platform::fonts {

FreeTypeGlyphs::FreeTypeGlyphs(Cp932& cp932)
    : cp932_(cp932), library_(std::make_shared<FreeTypeLibrary>()) {}

FreeTypeGlyphs::~FreeTypeGlyphs() = default;

std::shared_ptr<Font> FreeTypeGlyphs::OpenFont(const FontRequest& request) {
  if (request.cellHeight <= 0 || request.cellHeight > kMaxCellHeight) return nullptr;
  if (!library_->library) return nullptr;
  std::lock_guard<std::mutex> lock(mutex_);
  auto key = std::make_tuple(request.faceName, request.cellHeight, request.weight);
  if (auto known = fonts_.find(key); known != fonts_.end()) return known->second;

  if (!locator_) locator_ = std::make_unique<FontLocator>();
  std::shared_ptr<Font> font;
  // A broken or unreadable file is passed over for the next candidate.
  for (const FontFace& face :
       locator_->Candidates(cp932_.ToUtf8(request.faceName), request.weight)) {
    font = FreeTypeFont::Open(library_, cp932_, face, request);
    if (font) break;
  }
  fonts_.emplace(std::move(key), font);
  return font;
}

}  // namespace qv::platform::fonts
