// Scene composition: backgrounds, fills and sprites into the scene, the message window and the
// button bar around the text, rectangle copies, and hiding the message window.
#pragma once

#include <cstdint>
#include <string>

#include "graphics/Presentation.h"

namespace qv::graphics {

// The message text's face ("ＭＳ ゴシック" in code page 932) and cell height.
inline constexpr const char* kMessageFace = "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e";
inline constexpr int kMessageCellHeight = 21;

// The five surfaces and the scene buffers, once the frame size is known, and the message font.
// Window thread.
int CreateSurfaces(Presentation& view);
// Opens the message font (logged as "font FACE -> FILE", or "-> none" when no Japanese face is
// installed: text is then not drawn).
void OpenMessageFont(Presentation& view);
void ReleaseSurfaces(Presentation& view);

// The common end of every scene change: scene surface, its copy, the page with the message
// window when it is open, then the presentation. Interpreter thread, as are the next five (and
// the window thread while it loads a game, the interpreter halted).
int ComposeScene(Presentation& view);

// A background (base directory + path): composed and presented even when missing (black then).
// 1 when the picture was good, 0 when it was missing or damaged.
int LoadBackground(Presentation& view, const std::string& fullPath);
// A sprite bottom-aligned at column x; nothing changes when it cannot be read (0).
int DrawSprite(Presentation& view, int x, const std::string& path);
// One of the five fill colours (0x00BBGGRR); any other value leaves the scene as it is.
int FillScene(Presentation& view, uint32_t colour);
// The w × h rectangle of the scene at (sx, sy) onto the screen and the window at (x, y).
int CopyRegion(Presentation& view, int x, int y, int w, int h, int sx, int sy);

// The message window onto a copy of the scene: target 1 the page surface, any other value the
// scene surface. Also rebuilds the button bar.
int BuildMessageWindow(Presentation& view, int target);
int BuildButtonBar(Presentation& view);

// Hides (1) or shows (any other value) the message window while a page is up. Window thread.
int ToggleMessageWindow(Presentation& view, int hide);

}  // namespace qv::graphics
