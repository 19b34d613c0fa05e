// A Dear ImGui context bound to one SDL window (see ImGuiTarget.h).
#include "platform/sdl/ImGuiTarget.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

#include "imgui_impl_sdl.h"
#include "imgui_impl_sdlrenderer.h"
#include "imgui_internal.h"

namespace qv::platform::sdl {

namespace {

constexpr float kBaseFontPixels = 16.0f;

// Beyond the kana and common kanji: the punctuation, symbols and shapes Japanese text uses
// (…, ※, ①, →, ■, ★, ♪).
constexpr ImWchar kExtraRanges[] = {
    0x2000, 0x206F, 0x2190, 0x21FF, 0x2200, 0x22FF, 0x2460, 0x24FF,
    0x2500, 0x257F, 0x25A0, 0x25FF, 0x2600, 0x26FF, 0,
};

std::vector<char> ReadFile(const std::string& path) {
  if (path.empty()) return {};
  std::ifstream in(path, std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

ImGuiTarget::ImGuiTarget(SDL_Window* window, SDL_Renderer* renderer)
    : ImGuiTarget(window, renderer, nullptr, nullptr) {}

ImGuiTarget::ImGuiTarget(SDL_Window* window, SDL_Renderer* renderer, SDL_Window* ownedWindow,
                         SDL_Renderer* ownedRenderer)
    : window_(window),
      renderer_(renderer),
      ownedWindow_(ownedWindow),
      ownedRenderer_(ownedRenderer),
      fontFile_(FindJapaneseFont()),
      fontData_(ReadFile(fontFile_.path)) {
  ImGuiContext* const previous = ImGui::GetCurrentContext();
  context_ = ImGui::CreateContext();
  ImGui::SetCurrentContext(context_);
  ImGuiIO& io = ImGui::GetIO();
  io.IniFilename = nullptr;  // boxes and menus are placed anew each time; nothing to remember
  io.LogFilename = nullptr;
  ImGui_ImplSDL2_InitForSDLRenderer(window_);
  ImGui_ImplSDLRenderer_Init(renderer_);
  glyphs_.AddRanges(io.Fonts->GetGlyphRangesJapanese());
  glyphs_.AddRanges(kExtraRanges);
  ImGui::SetCurrentContext(previous);
}

std::unique_ptr<ImGuiTarget> ImGuiTarget::CreateStandalone(const std::string& titleUtf8) {
  SDL_Window* window = SDL_CreateWindow(titleUtf8.c_str(), SDL_WINDOWPOS_CENTERED,
                                        SDL_WINDOWPOS_CENTERED, 320, 120, SDL_WINDOW_HIDDEN);
  if (!window) return nullptr;
  SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, 0);
  if (!renderer) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  if (!renderer) {
    SDL_DestroyWindow(window);
    return nullptr;
  }
  return std::unique_ptr<ImGuiTarget>(new ImGuiTarget(window, renderer, window, renderer));
}

ImGuiTarget::~ImGuiTarget() {
  ImGuiContext* const previous = ImGui::GetCurrentContext();
  ImGui::SetCurrentContext(context_);
  ImGui_ImplSDLRenderer_Shutdown();
  ImGui_ImplSDL2_Shutdown();
  ImGui::DestroyContext(context_);
  ImGui::SetCurrentContext(previous == context_ ? nullptr : previous);
  if (ownedRenderer_) SDL_DestroyRenderer(ownedRenderer_);
  if (ownedWindow_) SDL_DestroyWindow(ownedWindow_);
}

void ImGuiTarget::BeginSession(int uiScale, bool navigation) {
  ImGui::SetCurrentContext(context_);
  ImGuiIO& io = ImGui::GetIO();
  constexpr ImGuiConfigFlags kNavigation =
      ImGuiConfigFlags_NavEnableKeyboard | ImGuiConfigFlags_NavEnableGamepad;
  io.ConfigFlags = navigation ? io.ConfigFlags | kNavigation : io.ConfigFlags & ~kNavigation;
  // Releases the game saw would otherwise leave keys held down here, and a held key never reports
  // a new press.
  std::fill(std::begin(io.KeysDown), std::end(io.KeysDown), false);
  std::fill(std::begin(io.MouseDown), std::end(io.MouseDown), false);
  io.ClearInputCharacters();
  const SDL_Keymod modifiers = SDL_GetModState();
  io.KeyShift = (modifiers & KMOD_SHIFT) != 0;
  io.KeyCtrl = (modifiers & KMOD_CTRL) != 0;
  io.KeyAlt = (modifiers & KMOD_ALT) != 0;
  io.KeySuper = (modifiers & KMOD_GUI) != 0;

  uiScale = std::max(uiScale, 1);
  if (uiScale != uiScale_ || fontPixels_ == 0) {
    uiScale_ = uiScale;
    fontStale_ = true;
    ImGuiStyle& style = ImGui::GetStyle();
    style = ImGuiStyle();
    ImGui::StyleColorsLight(&style);
    style.WindowRounding = 0;
    style.FrameBorderSize = 1;
    style.WindowTitleAlign = ImVec2(0.0f, 0.5f);
    // Crisp one-pixel borders: anti-aliased thin lines come out a pixel off along part of their
    // length with SDL's software renderer.
    style.AntiAliasedLines = false;
    // A standalone box fills its window exactly; the safe margin would squeeze it every frame.
    if (Standalone()) style.DisplaySafeAreaPadding = ImVec2(0, 0);
    style.ScaleAllSizes(static_cast<float>(uiScale_));
  }
}

void ImGuiTarget::ProcessEvent(const SDL_Event& event) {
  ImGui::SetCurrentContext(context_);
  ImGui_ImplSDL2_ProcessEvent(&event);
}

void ImGuiTarget::RequireGlyphs(std::string_view textUtf8) {
  const char* text = textUtf8.data();
  const char* const end = text + textUtf8.size();
  while (text < end) {
    unsigned int character = 0;
    const int length = ImTextCharFromUtf8(&character, text, end);
    if (length <= 0) break;
    text += length;
    // Each character is asked for once: one the font does not have must not rebuild it again.
    if (character <= IM_UNICODE_CODEPOINT_MAX && !glyphs_.GetBit(character)) {
      glyphs_.AddChar(static_cast<ImWchar>(character));
      fontStale_ = true;
    }
  }
}

void ImGuiTarget::RebuildFont() {
  fontStale_ = false;
  fontPixels_ = std::round(kBaseFontPixels * uiScale_);
  ImGuiIO& io = ImGui::GetIO();
  io.Fonts->Clear();
  ranges_.clear();
  glyphs_.BuildRanges(&ranges_);
  if (!fontData_.empty()) {
    ImFontConfig config;
    config.FontNo = fontFile_.index;
    config.FontDataOwnedByAtlas = false;
    config.OversampleH = 2;
    config.PixelSnapH = true;
    io.Fonts->AddFontFromMemoryTTF(fontData_.data(), static_cast<int>(fontData_.size()),
                                   fontPixels_, &config, ranges_.Data);
  }
  if (io.Fonts->Fonts.empty()) {  // no Japanese font installed: at least the Latin text shows
    ImFontConfig config;
    config.SizePixels = fontPixels_;
    io.Fonts->AddFontDefault(&config);
  }
  ImGui_ImplSDLRenderer_DestroyFontsTexture();  // the renderer backend rebuilds it next frame
}

void ImGuiTarget::NewFrame(const std::bitset<kPadButtonCount>& padDown) {
  ImGui::SetCurrentContext(context_);
  if (fontStale_) RebuildFont();
  ImGui_ImplSDLRenderer_NewFrame();
  // The backend would read the first controller's state itself, once a frame, missing a tap
  // between two frames and any other pad: the window's pads are given instead.
  ImGuiIO& io = ImGui::GetIO();
  const bool gamepad = (io.ConfigFlags & ImGuiConfigFlags_NavEnableGamepad) != 0;
  io.ConfigFlags &= ~ImGuiConfigFlags_NavEnableGamepad;
  ImGui_ImplSDL2_NewFrame();
  if (gamepad) {
    io.ConfigFlags |= ImGuiConfigFlags_NavEnableGamepad;
    io.BackendFlags |= ImGuiBackendFlags_HasGamepad;
    const auto down = [&padDown](PadButton button) {
      return padDown.test(static_cast<size_t>(button)) ? 1.0f : 0.0f;
    };
    io.NavInputs[ImGuiNavInput_Activate] = down(PadButton::A);
    io.NavInputs[ImGuiNavInput_Cancel] = down(PadButton::B);
    io.NavInputs[ImGuiNavInput_DpadUp] = down(PadButton::Up);
    io.NavInputs[ImGuiNavInput_DpadDown] = down(PadButton::Down);
    io.NavInputs[ImGuiNavInput_DpadLeft] = down(PadButton::Left);
    io.NavInputs[ImGuiNavInput_DpadRight] = down(PadButton::Right);
  }
  // The backend reads the pointer from SDL's global position, which on X11 is only refreshed by
  // raw input events that synthetic or remote pointers may not send; the window-relative
  // position follows the window's own events and is always current.
  if (SDL_GetMouseFocus() == window_) {
    int x = 0;
    int y = 0;
    SDL_GetMouseState(&x, &y);
    ImGui::GetIO().MousePos = ImVec2(static_cast<float>(x), static_cast<float>(y));
  }
  ImGui::NewFrame();
}

void ImGuiTarget::RenderFrame() {
  ImGui::Render();
  ImGui_ImplSDLRenderer_RenderDrawData(ImGui::GetDrawData());
}

void ImGuiTarget::FitToContent(ImVec2 size) {
  if (!ownedWindow_ || size.x < 1 || size.y < 1) return;
  if (size.x != fittedSize_.x || size.y != fittedSize_.y) {
    fittedSize_ = size;
    SDL_SetWindowSize(ownedWindow_, static_cast<int>(std::ceil(size.x)),
                      static_cast<int>(std::ceil(size.y)));
    SDL_SetWindowPosition(ownedWindow_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  }
  // An automatically sized window takes a couple of frames to know its size; showing it only
  // then avoids a visible jump.
  if (framesUntilShown_ > 0 && --framesUntilShown_ == 0) {
    SDL_ShowWindow(ownedWindow_);
    SDL_RaiseWindow(ownedWindow_);
  }
}

}  // namespace qv::platform::sdl
