// Presenting a new scene: the nineteen transitions from the old picture to the new one.
//
// The old picture is what the screen holds when a transition starts, the new one is
// sceneSurface. Every transition draws its frames on the window and leaves the new picture on the
// screen (the cross-fade with a step count that does not divide 256 and the mask
// transition leave a blend within rounding of it). All run on the interpreter thread (or on the
// window thread while it loads a game, the interpreter halted), pace their frames on the engine's
// clock and return the number of frames they drew, frames that happen to show nothing included.
#pragma once

#include "graphics/PictureFile.h"
#include "graphics/Presentation.h"

namespace qv::graphics {

// Presents sceneSurface with `transition`: number 0 presents nothing, and with screen effects
// turned off every other number gives the cut. inputBusy is 1 while it runs.
// Logs "transition N FRAMES" with the number asked for and the frames drawn. Returns 0 for a
// number that has no transition (nothing is drawn), otherwise 1.
int PresentScene(Presentation& view, const Transition& transition);

// 1: the new picture at once.
int Cut(Presentation& view);
// 2: 10-pixel column bands grow from their left edges, 11 frames 30 ms apart.
int VerticalBlinds(Presentation& view);
// 3: 10-row bands grow from their top edges, 11 frames 30 ms apart. Rows below the last whole
// band wait for the next repaint of the window.
int HorizontalBlinds(Presentation& view);
// 4: the 4 x 4 ordered dissolve, 16 frames 40 ms apart, each revealing one cell position.
int OrderedDissolve(Presentation& view);
// 5: the new picture stretched from a centred strip to the full width, 10 frames 10 ms apart.
int HorizontalZoom(Presentation& view);
// 6: 20 x 20 tiles along the diagonal from the top-left, a frame per 20 ms; 56 frames at
// 640 x 480, as many as the tile rows and columns need on other sizes.
int DiagonalTiles(Presentation& view);
// 7: a left-to-right wipe with a ragged edge (each row's offset drawn from the script's random
// generator), 5 columns per 2 ms frame; 160 frames at a width of 640.
int RaggedWipe(Presentation& view);
// 8: the cross-fade in `stepCount` steps (below 1 taken as 1), stepCount + 1 frames of one
// display refresh each. workPixels keeps the last frame's picture.
int CrossFade(Presentation& view, int stepCount);
// 11 to 14: the new picture pushes the old one out, 8 rows or 10 columns a display refresh.
enum class PushDirection { Up, Down, Left, Right };
int Push(Presentation& view, PushDirection direction);
// 15, 16: a row at a time, downwards from the top (H frames) or upwards from below the bottom
// (H + 1 frames); 17, 18: a column at a time, rightwards (W) or leftwards (W + 1). A 1 ms sleep
// after each frame.
int RowWipe(Presentation& view, bool downwards);
int ColumnWipe(Presentation& view, bool rightwards);
// 19: 5-pixel column strips from both sides towards the middle, 7 ms a frame; 20: 5-row strips
// from the top and the bottom, 10 ms a frame.
int ColumnStrips(Presentation& view);
int RowStrips(Presentation& view);
// 21: the mask transition, 33 frames 20 ms apart; lighter mask entries move first.
int MaskTransition(Presentation& view, const MaskPicture& mask);

}  // namespace qv::graphics
