#!/usr/bin/env bash
# Plays the sample game in a real window on a virtual X server, with screenshots of every step:
# past the logo and the name entry, the system menu, a save into slot 1, the backlog on the wheel,
# a choice picked with the arrow keys, a skip on held Ctrl, the close box (status 0), a new run
# that loads slot 1 from the title and picks the same choice with the mouse, then a large
# screen's scale and F11's switch.
# usage: play_sample.sh QVPLAY QVTOOL OUTDIR (exit 77: Xvfb, xdotool, ImageMagick or Xlib missing)
set -u
[ $# -eq 3 ] || { echo "usage: $0 QVPLAY QVTOOL OUTDIR" >&2 && exit 2; }
QVPLAY=$1 QVTOOL=$2 OUT=$3
skip() { echo "skipped: $*" && exit 77; }
fail() {
  echo "FAILED: $*" >&2
  for log in "$OUT"/qvplay-*.log "$OUT/xvfb.log"; do
    [ -s "$log" ] && { echo "--- $log" && tail -n 20 "$log"; } >&2
  done
  exit 1
}
for tool in Xvfb xdotool import compare convert; do
  command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
done
rm -rf "$OUT" && mkdir -p "$OUT"
# Without a window manager nothing draws a close box; this helper sends what clicking it sends.
"${CXX:-c++}" -o "$OUT/close_window" "$(dirname "$0")/close_window.cpp" -lX11 \
  >"$OUT/close_window.log" 2>&1 || skip "cannot build the close-box helper (Xlib headers missing?)"

XVFB_PID="" QVPLAY_PID=""
# Bash skips the EXIT trap when a signal ends it; as an exit it runs, and nothing is left behind.
trap '{ [ -n "$QVPLAY_PID" ] && kill -9 "$QVPLAY_PID"; [ -n "$XVFB_PID" ] && kill "$XVFB_PID"
  wait; } 2>/dev/null' EXIT
trap 'exit 129' HUP && trap 'exit 130' INT && trap 'exit 143' TERM

# Every wait is bounded: retry runs "${@:3}" up to $1 times, $2 s apart, until it succeeds;
# within runs "${@:2}" every 0.1 s for at most $1 s; poll is retry failing once qvplay has ended.
retry() {
  local _
  for _ in $(seq "$1"); do "${@:3}" && return 0 || sleep "$2"; done
  return 1
}
within() {
  local deadline=$((SECONDS + $1))
  until "${@:2}"; do [ "$SECONDS" -lt "$deadline" ] && sleep 0.1 || return 1; done
}
poll() { retry "$1" "$2" alive_and "${@:3}"; }
alive_and() { alive && "$@"; }
alive() { kill -0 "$QVPLAY_PID" 2>/dev/null || fail "qvplay ended unexpectedly"; }
ended() { ! kill -0 "$QVPLAY_PID" 2>/dev/null; }
# True when $1 is a number of at least (at most) $2; a failed count is none (no number).
at_least() { [ "${1:-0}" -ge "$2" ] 2>/dev/null; }
at_most() { [ "$1" -le "$2" ] 2>/dev/null; }

# Starts a virtual server with a screen of $1 (WxHxDEPTH) in place of the one before, on a display
# number it picks itself (parallel runs cannot collide) and may report before it takes clients.
# -noreset: otherwise it resets, refusing connections, whenever its last client leaves.
start_xvfb() {
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
  SCREEN=${1%x*}
  rm -f "$OUT/display"
  Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp -noreset 3>"$OUT/display" >"$OUT/xvfb.log" 2>&1 &
  XVFB_PID=$!
  retry 100 0.1 xvfb_reported || skip "Xvfb did not report a display"
  export DISPLAY=":$(head -n 1 "$OUT/display")"
  retry 100 0.1 server_answers || skip "cannot connect to Xvfb on $DISPLAY"
  [ "$ANSWER" = "${SCREEN/x/ }" ] || fail "another server answers on $DISPLAY (its screen: $ANSWER)"
}
xvfb_reported() {
  [ -s "$OUT/display" ] && return 0
  kill -0 "$XVFB_PID" 2>/dev/null || skip "Xvfb did not start (see $OUT/xvfb.log)"
  return 1
}
server_answers() { ANSWER=$(xdotool getdisplaygeometry 2>/dev/null); }
start_xvfb 1024x768x24
# SDL's software renderer: Mesa's emulation of a GPU runs threads the sanitizers cannot see into.
# No leak checker: SDL and Xlib keep memory until exit; the headless tests check our own leaks.
export SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy SDL_RENDER_DRIVER=software QVENGINE_LOCK_DIR="$OUT"
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
"$QVTOOL" make-sample "$OUT/game" >"$OUT/qvtool.log" 2>&1 || fail "qvtool make-sample failed"

# Shot $1.png of $2 (or the window), bounded: import can hang if its window goes away meanwhile.
look() { timeout 20 import -window "${2:-$WINDOW}" "$OUT/$1.png"; }
shoot() { look "$@" || fail "screenshot $1.png failed"; }
# A click at $1, $2 of the window, with button $3 (the left one when none is given).
click() { xdotool mousemove --window "$WINDOW" "$1" "$2" click "${3:-1}"; }
# How many pixels shots $1 and $2 differ in (no number if they cannot be compared).
differing() {
  local count
  count=$(compare "${@:3}" -metric AE "$OUT/$1.png" "$OUT/$2.png" null: 2>&1)
  count=${count%% *} && echo "${count%.*}"
}
# True when shot $1 has at least $3 light pixels (a white text's) in WxH+X+Y $2; LIGHT: how many.
lit() {
  LIGHT=$(convert "$OUT/$1.png" -crop "$2" -colorspace Gray -threshold 80% \
    -format '%[fx:int(mean*w*h)]' info: 2>/dev/null)
  at_least "$LIGHT" "$3"
}

# Holds key $1 down for $2 seconds (the window has the focus meanwhile).
hold() {
  focus_window || fail "could not give the window the keyboard focus"
  xdotool keydown --window "$WINDOW" "$1" || fail "could not press $1 in the window"
  sleep "$2"
  xdotool keyup --window "$WINDOW" "$1" || fail "could not release $1 in the window"
}
# Shot $1 cropped to the message window's text rows, as $1-text.png.
text_rows() { convert "$OUT/$1.png" -crop 745x130+35+450 +repage "$OUT/$1-text.png"; }
# Clicks right of where the choice bars come (x 240 to 640, from y 70, 50 apart) until they are
# there (a click while the page still moves is not taken); $1: the shot of the page before.
choice_list_up() {
  click 700 300 && sleep 1 && look now &&
    convert "$OUT/$1.png" -crop 400x140+240+70 +repage "$OUT/bars-before.png" &&
    convert "$OUT/now.png" -crop 400x140+240+70 +repage "$OUT/bars-now.png" &&
    at_least "$(differing bars-before bars-now)" 5000
}

# Sends key $1 to the window, given the keyboard focus first as a window manager would: SDL drops
# even a key sent to the window without it (and the focus SDL gives a window it maps can go).
focus_window() { timeout 10 xdotool windowfocus --sync "$WINDOW" >/dev/null 2>&1; }
press() {
  focus_window || fail "could not give the window the keyboard focus"
  xdotool key --window "$WINDOW" "$1" || fail "could not send $1 to the window"
}

# Finds qvplay's window (within 30 s), expects it $1 x $2 and gives it the focus; one about to be
# replaced has no geometry or takes no focus, and is looked for again.
find_window() {
  within 30 window_found || fail "no window appeared and took the focus within 30 s"
  [ "$WIDTH" = "$1" ] && [ "$HEIGHT" = "$2" ] ||
    fail "window is ${WIDTH}x${HEIGHT} on the ${SCREEN} screen, expected $1x$2"
}
window_found() {
  kill -0 "$QVPLAY_PID" 2>/dev/null || fail "qvplay ended before its window appeared"
  WINDOW=$(xdotool search --onlyvisible --pid "$QVPLAY_PID" 2>/dev/null | head -n 1)
  [ -n "$WINDOW" ] && GEOMETRY=$(xdotool getwindowgeometry --shell "$WINDOW" 2>/dev/null) &&
    focus_window && eval "$GEOMETRY"
}

# Starts qvplay (its output to qvplay-$1.log), expects a window of $2 x $3 and waits out the logo.
launch() {
  "$QVPLAY" "$OUT/game" >"$OUT/qvplay-$1.log" 2>&1 &
  QVPLAY_PID=$! LOGO_SEEN=
  find_window "$2" "$3"
  # The logo swallows every input: wait until it was seen whole and is gone. Its hold of 150
  # redraws takes 5 to 15 s, longer in a sanitizer build. A large window's shot is sampled down.
  convert "$OUT/game/cg/menu/logo.bmp" "$OUT/logo.png" || fail "cannot read the sample's logo"
  within 90 logo_gone "$1" && return
  [ -n "$LOGO_SEEN" ] && fail "the logo did not give way to the game"
  fail "the logo was never shown whole ($LOGO_DIFF pixels differ)"
}
logo_gone() {
  alive && shoot "logo-$1"
  [ "$WIDTH" = 800 ] || convert "$OUT/logo-$1.png" -sample 800x600! "$OUT/logo-$1.png"
  LOGO_DIFF=$(differing logo "logo-$1")
  at_most "$LOGO_DIFF" 999 && LOGO_SEEN=1
  [ -n "$LOGO_SEEN" ] && at_least "$LOGO_DIFF" 5000
}

# The close box: qvplay must end by itself, with status 0.
close_game() {
  "$OUT/close_window" "$WINDOW" || fail "could not send the close request"
  retry 150 0.1 ended || fail "qvplay did not exit within 15 s of the close request"
  wait "$QVPLAY_PID"
  STATUS=$? QVPLAY_PID=
  [ "$STATUS" -eq 0 ] || fail "qvplay exited with status $STATUS"
}

# Waits (up to 15 s) until the window differs from shot $1 in at least $2 pixels, or fails with $3.
changed_from() { poll 75 0.2 differs_from "$1" "$2" || fail "$3"; }
differs_from() { look now && at_least "$(differing "$1" now)" "$2"; }
# True once two pictures a second apart are the same but for the waiting cursor: a click while a
# transition or the typing runs is not taken. wait_still waits up to 30 s, or fails with $1.
still() { look a && sleep 1 && look b && at_most "$(differing a b -fuzz 3%)" 2500; }
wait_still() { poll 30 0 still || fail "$1"; }
# True when slot 1's title line (a white "None", or a saved title) is on the window.
slot_list_shown() { look now && lit now 60x18+105+203 30; }

# The sample game is 800 x 600, and twice that does not fit a 1024 x 768 screen.
launch first 800 600

# The title's first item asks for the player's name; click until the dialog is up (a click before
# the items are listed does nothing), comparing with the title at rest.
wait_still "the title never came to rest"
shoot title
name_entry_up() {
  click 400 324 && sleep 1 && shoot name-entry && NAME_DIFF=$(differing title name-entry)
  at_least "$NAME_DIFF" 5000
}
poll 20 0 name_entry_up || fail "no name entry was shown ($NAME_DIFF pixels differ)"

# Enter takes the default name; the story then types its first lines.
press Return
changed_from name-entry 5000 "Enter did not close the name entry"
for _ in 1 2 3; do click 400 200 && sleep 1 && alive; done
# Typed text: light glyph pixels in the message window's rows (about 300 without, 1000 with).
text_typed() { shoot text && lit text 745x130+35+450 600; }
poll 20 0.5 text_typed || fail "no text in the message window ($LIGHT light pixels)"

# Right click: the system menu opens at the pointer, its light background at (230, 170); Escape
# dismisses it, and its release must not reach the game.
probe() {
  timeout 20 import -window "$WINDOW" png:- 2>/dev/null |
    timeout 10 convert - -format '%[pixel:p{230,170}]' info: 2>/dev/null
}
menu_shown() {
  local colour
  colour=$(probe) && [ -n "$colour" ] &&
    [ "$(convert xc:"$colour" -format '%[fx:int(255*luminance)]' info:)" -ge 200 ]
}
menu_gone() { local colour && colour=$(probe) && [ -n "$colour" ] && [ "$colour" != "$MENU" ]; }
click 200 150 3
poll 150 0.1 menu_shown || fail "no menu appeared at the pointer"
sleep 0.3
shoot menu root
shoot menu-window
MENU=$(probe)
press Escape
poll 150 0.1 menu_gone || fail "Escape did not dismiss the menu"
sleep 0.3
shoot window
# A real menu over the picture: the two shots differ in at least a menu's worth of pixels.
DIFFERENT=$(differing menu-window window)
at_least "$DIFFERENT" 5000 || fail "the menu was too small ($DIFFERENT pixels differ)"

# The bar's save button opens the save screen; slot 1 saves and shows its date and title; the
# return button gives the page back. A click while the page still moves is lost: wait, again.
open_save_screen() {
  click 450 589 && poll 10 0.3 slot_list_shown || { poll 30 0 still && false; }
}
slot_filled() {
  shoot save-screen && lit save-screen 200x18+95+182 150 && lit save-screen 200x18+105+203 50
}
wait_still "the game never came to rest"
retry 10 0 open_save_screen || fail "the save button did not open the save screen"
click 100 190
poll 100 0.1 test -s "$OUT/game/save/save01.sav"
[ "$(stat -c %s "$OUT/game/save/save01.sav" 2>/dev/null)" = 1592 ] || fail "slot 1 was not saved"
poll 30 0.5 slot_filled || fail "slot 1 shows no date or title ($LIGHT light pixels, the last look)"
click 100 110
changed_from save-screen 50000 "the return button did not leave the save screen"
wait_still "the page did not come to rest after the save screen"
shoot saved-page

# The backlog: two notches up show the page before in the message window; turned down past the
# newest page it closes onto the page to the pixel. The pointer rests away from the bar's buttons.
xdotool mousemove --window "$WINDOW" 700 300
wait_still "the page did not come to rest with the pointer away from the bar"
shoot page
backlog_closed() { look now && [ "$(differing page now)" = 0 ]; }
older_page_shown() {
  shoot backlog && text_rows backlog && text_rows page &&
    BACKLOG_DIFF=$(differing page-text backlog-text) && at_least "$BACKLOG_DIFF" 3000
}
click 700 300 4 && sleep 0.5 && click 700 300 4
poll 30 0.2 older_page_shown ||
  fail "the wheel turned up showed no older page in the message window" \
    "(${BACKLOG_DIFF:-no} pixels of its text rows differ)"
notch_down_closes() { click 700 300 5 && poll 20 0.2 backlog_closed; }
retry 5 0 notch_down_closes ||
  fail "five notches down did not close the backlog onto its page ($(differing page now) differ)"

# A choice with the keys: a click brings the list, Down twice focuses the second item, Return
# picks it (the page the mouse's pick gives in the second run).
poll 10 0 choice_list_up page || fail "clicks after the backlog closed brought no choice list"
wait_still "the choice list did not come to rest"
shoot choice-list
press Down && sleep 0.5 && press Down && sleep 0.5 && press Return
changed_from choice-list 5000 "Down and Return left the choice list as it was"
wait_still "the page after the pick by keys did not come to rest"
keys_page_typed() { shoot keys-pick && lit keys-pick 745x130+35+450 600; }
poll 20 0.5 keys_page_typed ||
  fail "the pick by keys went on to no text ($LIGHT light pixels in the message window)"

# Ctrl held for 2 s skips (read text only is off unless chosen): the page after is a later one.
hold ctrl 2
wait_still "the game did not come to rest after Ctrl was let go"
shoot skipped
SKIPPED=$(differing keys-pick skipped)
at_least "$SKIPPED" 5000 || fail "Ctrl held for 2 s skipped nothing (${SKIPPED:-no} pixels differ)"
close_game

# A new run: the title's load item opens the load screen, slot 1 brings the saved page back (its
# sprite blended again, hence the fuzz) and types its text anew.
launch second 800 600
sleep 1
shoot title-again
load_screen_up() { click 400 386 && sleep 1 && slot_list_shown; }
poll 20 0 load_screen_up
shoot load-screen
lit load-screen 200x18+95+182 150 || fail "the title's load item showed no load screen"
click 100 190
changed_from load-screen 50000 "slot 1 did not load"
convert "$OUT/saved-page.png" -crop 800x440+0+0 "$OUT/saved-scene.png"
page_restored() {
  shoot restored-page
  convert "$OUT/restored-page.png" -crop 800x440+0+0 "$OUT/restored-scene.png"
  RESTORED=$(differing saved-scene restored-scene -fuzz 3%)
  lit restored-page 745x130+35+450 600 && at_most "$RESTORED" 2000
}
poll 30 0.5 page_restored ||
  fail "the loaded scene differs in $RESTORED pixels (2000 allowed), its text has $LIGHT"
# The mouse picks the list's second item: the page is the one the keys' pick gave.
wait_still "the loaded page did not come to rest"
shoot loaded-page
poll 10 0 choice_list_up loaded-page || fail "clicks on the loaded page brought no choice list"
wait_still "the choice list did not come to rest in the second run"
shoot choice-list-again
click 300 130
changed_from choice-list-again 5000 "a click on the second choice left the list as it was"
wait_still "the page after the pick by mouse did not come to rest"
mouse_page_typed() { shoot mouse-pick && lit mouse-pick 745x130+35+450 600; }
poll 20 0.5 mouse_page_typed || fail "the pick by mouse went on to no text"
PICKS=$(differing keys-pick mouse-pick -fuzz 3%)
at_most "$PICKS" 2500 ||
  fail "Down and Return picked another page than a click on the second item" \
    "(${PICKS:-no} pixels differ)"
close_game

# A large screen: the window takes the largest whole factor that fits; F11 switches to full
# screen and back, kept in env.dat's windowed flag (byte 4: 1 windowed, 0 full screen).
start_xvfb 2560x1600x24
launch large 1600 1200
flag_is() {
  FLAG=$(od -An -tu1 -j4 -N1 "$OUT/game/save/env.dat" 2>/dev/null | tr -d ' ') && [ "$FLAG" = "$1" ]
}
# Presses F11 until the flag reads $1, each press given time to show (two at once cancel out).
switched_to() { press F11 && poll 100 0.1 flag_is "$1"; }
for flag in 0 1; do
  retry 3 0 switched_to $flag || fail "F11 left the windowed flag at ${FLAG:-nothing}, not $flag"
done
find_window 1600 1200
close_game
echo "ok: played, saved, read back, picked by keys, skipped, closed, loaded, picked by mouse," \
  "scaled and switched full screen; screenshots in $OUT"
