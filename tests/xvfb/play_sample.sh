#!/usr/bin/env bash
# Plays the sample game in a real window on a virtual X server: waits out the logo, starts from
# the title screen, accepts the name entry, clicks through the first pages of text, opens the
# system menu, saves into slot 1, closes the window by its close box (expecting status 0), starts
# again, loads slot 1 from the title and compares the page with the one saved; screenshots of
# every step; then on a large screen checks the window's scale and the F11 full-screen switch.
# Exit 77 (skipped) when Xvfb, xdotool, ImageMagick or Xlib are missing.
#
# usage: play_sample.sh QVPLAY QVTOOL OUTDIR
set -u

if [ $# -ne 3 ]; then
  echo "usage: $0 QVPLAY QVTOOL OUTDIR" >&2
  exit 2
fi
QVPLAY=$1
QVTOOL=$2
OUT=$3
HERE=$(cd "$(dirname "$0")" && pwd)

skip() {
  echo "skipped: $*"
  exit 77
}
fail() {
  echo "FAILED: $*" >&2
  for log in "$OUT"/qvplay-*.log "$OUT/xvfb.log"; do
    [ -s "$log" ] && { echo "--- $log" >&2; tail -n 20 "$log" >&2; }
  done
  exit 1
}

for tool in Xvfb xdotool import compare convert; do
  command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
done

rm -rf "$OUT"
mkdir -p "$OUT"

# Without a window manager nothing draws a close box; this helper sends what clicking it sends.
"${CXX:-c++}" -o "$OUT/close_window" "$HERE/close_window.cpp" -lX11 >"$OUT/close_window.log" 2>&1 ||
  skip "cannot build the close-box helper (Xlib headers missing?)"

XVFB_PID=
QVPLAY_PID=
cleanup() {
  [ -n "$QVPLAY_PID" ] && kill -9 "$QVPLAY_PID" 2>/dev/null
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
  wait 2>/dev/null
}
trap cleanup EXIT
# Bash skips the EXIT trap when a signal ends it; as an exit it runs, and nothing is left behind.
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

# Starts a virtual server with a screen of $1 (WxHxDEPTH) and points DISPLAY at it. The server
# picks a free display number itself and reports it, so parallel runs cannot collide.
# -noreset: by default the server resets whenever its last client leaves, and refuses
# connections meanwhile (between the tools below and qvplay, say).
start_xvfb() {
  SCREEN=${1%x*}
  rm -f "$OUT/display"
  Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp -noreset 3>"$OUT/display" >"$OUT/xvfb.log" 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 100); do
    [ -s "$OUT/display" ] && break
    kill -0 "$XVFB_PID" 2>/dev/null || skip "Xvfb did not start (see $OUT/xvfb.log)"
    sleep 0.1
  done
  [ -s "$OUT/display" ] || skip "Xvfb did not report a display"
  export DISPLAY=":$(head -n 1 "$OUT/display")"
  # The number can come before the server takes connections; wait until a client gets in. The
  # screen's size tells that it is this server that answers.
  local answer=
  for _ in $(seq 100); do
    answer=$(xdotool getdisplaygeometry 2>/dev/null) && break
    sleep 0.1
  done
  [ -n "$answer" ] || skip "cannot connect to Xvfb on $DISPLAY"
  [ "$answer" = "${SCREEN/x/ }" ] || fail "another server answers on $DISPLAY (its screen: $answer)"
}
start_xvfb 1024x768x24
export SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy QVENGINE_LOCK_DIR="$OUT"
# SDL's own software renderer: a virtual server has no GPU anyway, and Mesa's emulation of one
# runs threads that the sanitizer builds cannot see into (and report).
export SDL_RENDER_DRIVER=software
# In the address-sanitizer build: SDL 2.26 and the X libraries keep memory until exit that the
# leak checker reports; our own code's leaks are checked by the headless tests, which do not use
# them. Memory errors are still caught here.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

"$QVTOOL" make-sample "$OUT/game" >"$OUT/qvtool.log" 2>&1 || fail "qvtool make-sample failed"

alive() { kill -0 "$QVPLAY_PID" 2>/dev/null || fail "qvplay ended unexpectedly"; }
# A screenshot, bounded: import can hang when its window goes away meanwhile.
snap() { timeout 20 import "$@"; }
# How many pixels of pictures $1 and $2 differ (not a number when they cannot be compared); any
# further arguments go to compare.
differing() {
  local count
  count=$(compare "${@:3}" -metric AE "$1" "$2" null: 2>&1)
  count=${count%% *}
  echo "${count%.*}"
}

# Gives the window the keyboard focus, as a window manager gives a new or raised window: SDL
# takes no key as the window's while the window lacks it, even one sent to the window itself.
# (With no window manager SDL focuses a window it maps, but anything may take that away.)
focus_window() {
  timeout 10 xdotool windowfocus --sync "$WINDOW" >/dev/null 2>&1
}
# Sends key $1 to the window itself, wherever the pointer is.
press() {
  focus_window || fail "could not give the window the keyboard focus"
  xdotool key --window "$WINDOW" "$1" || fail "could not send $1 to the window"
}

# Finds qvplay's window, reads its geometry into WIDTH and HEIGHT and gives it the focus.
find_window() {
  # A window is taken once its geometry can be read and it takes the focus: one found a moment
  # before it is replaced (or closed) is looked for again.
  WINDOW=
  GEOMETRY=
  local deadline=$((SECONDS + 30))
  while [ "$SECONDS" -lt "$deadline" ]; do
    WINDOW=$(xdotool search --onlyvisible --pid "$QVPLAY_PID" 2>/dev/null | head -n 1)
    if [ -n "$WINDOW" ]; then
      GEOMETRY=$(xdotool getwindowgeometry --shell "$WINDOW" 2>/dev/null) && focus_window && break
      GEOMETRY=
    fi
    kill -0 "$QVPLAY_PID" 2>/dev/null || fail "qvplay ended before its window appeared"
    sleep 0.1
  done
  [ -n "$GEOMETRY" ] || fail "no window appeared and took the focus within 30 s"
  eval "$GEOMETRY"
}

# Starts qvplay on the game (its output to qvplay-$1.log), expects a window of $2 x $3 and waits
# out the logo.
launch() {
  "$QVPLAY" "$OUT/game" >"$OUT/qvplay-$1.log" 2>&1 &
  QVPLAY_PID=$!
  find_window
  [ "$WIDTH" = "$2" ] && [ "$HEIGHT" = "$3" ] ||
    fail "window is ${WIDTH}x${HEIGHT} on the ${SCREEN} screen, expected $2x$3"

  # The logo comes first and swallows every input: wait until it has been seen whole and is gone
  # again. Its hold, 150 rounds of 20 ms that each redraw the window, lasts well over its 3 s: on
  # two cores about 5 s in the small window and 7 s in the large one, 15 s in the large one with
  # both cores busy, longer in a sanitizer build. A large window's screenshot is sampled down to
  # the game's size (each of the picture's pixels is a square of the window's) for comparing.
  LOGO_SEEN=
  LOGO_GONE=
  local deadline=$((SECONDS + 90))
  while [ "$SECONDS" -lt "$deadline" ]; do
    alive
    snap -window "$WINDOW" "$OUT/logo-$1.png" || fail "screenshot of the logo failed"
    [ "$WIDTH" = 800 ] || convert "$OUT/logo-$1.png" -sample 800x600! "$OUT/logo-$1.png"
    LOGO_DIFF=$(differing "$OUT/game/cg/menu/logo.bmp" "$OUT/logo-$1.png")
    if [ "$LOGO_DIFF" -lt 1000 ] 2>/dev/null; then
      LOGO_SEEN=1
    elif [ -n "$LOGO_SEEN" ] && [ "$LOGO_DIFF" -ge 5000 ] 2>/dev/null; then
      LOGO_GONE=1
      break
    fi
    sleep 0.1
  done
  [ -n "$LOGO_SEEN" ] || fail "the logo was never shown whole ($LOGO_DIFF pixels differ)"
  [ -n "$LOGO_GONE" ] || fail "the logo did not give way to the game"
}

# The close box: qvplay must end by itself, with status 0.
close_game() {
  "$OUT/close_window" "$WINDOW" || fail "could not send the close request"
  for _ in $(seq 150); do
    kill -0 "$QVPLAY_PID" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$QVPLAY_PID" 2>/dev/null; then
    fail "qvplay did not exit within 15 s of the close request"
  fi
  wait "$QVPLAY_PID"
  STATUS=$?
  QVPLAY_PID=
  [ "$STATUS" -eq 0 ] || fail "qvplay exited with status $STATUS"
}

# Waits (up to 15 s) until the window's picture differs from picture $1 in at least $2 pixels.
changed_from() {
  for _ in $(seq 75); do
    alive
    snap -window "$WINDOW" "$OUT/now.png" || return 1
    [ "$(differing "$1" "$OUT/now.png")" -ge "$2" ] 2>/dev/null && return 0
    sleep 0.2
  done
  return 1
}
# Light pixels (a white text's) in the rectangle $2 (WxH+X+Y) of picture $1.
light_in() {
  convert "$1" -crop "$2" -colorspace Gray -threshold 80% -format '%[fx:int(mean*w*h)]' info: \
    2>/dev/null
}

# Waits (up to 30 s) until two pictures a second apart are the same but for the waiting cursor: a
# click while a transition or the typing runs is not taken.
wait_still() {
  for _ in $(seq 30); do
    alive
    snap -window "$WINDOW" "$OUT/still-a.png" || return 1
    sleep 1
    snap -window "$WINDOW" "$OUT/still-b.png" || return 1
    [ "$(differing "$OUT/still-a.png" "$OUT/still-b.png" -fuzz 3%)" -le 2500 ] 2>/dev/null && return 0
  done
  return 1
}

# The sample game is 800 x 600, and twice that does not fit a 1024 x 768 screen.
launch first 800 600

# The title screen: its first item starts the game and asks for the player's name first. A
# click before the title's items are listed does nothing, so click until the dialog is up. The
# title is compared with once it has come to rest: one caught while it is still drawn would
# differ from itself a moment later.
wait_still || fail "the title never came to rest"
snap -window "$WINDOW" "$OUT/title.png" || fail "screenshot of the title failed"
for _ in $(seq 20); do
  xdotool mousemove --window "$WINDOW" 400 324 click 1
  sleep 1
  alive
  snap -window "$WINDOW" "$OUT/name-entry.png" || fail "screenshot of the name entry failed"
  NAME_DIFF=$(differing "$OUT/title.png" "$OUT/name-entry.png")
  [ "$NAME_DIFF" -ge 5000 ] 2>/dev/null && break
done
[ "$NAME_DIFF" -ge 5000 ] 2>/dev/null || fail "no name entry was shown ($NAME_DIFF pixels differ)"

# Enter takes the default name; the story then types its first lines.
press Return
changed_from "$OUT/name-entry.png" 5000 || fail "Enter did not close the name entry"
for _ in 1 2 3; do
  xdotool mousemove --window "$WINDOW" 400 200 click 1
  sleep 1
  alive
done
# Typed text: light glyph pixels in the message window's rows (the title alone has about 300
# there, a line of text about a thousand). A sanitizer build types slowly, so look again a while.
LIGHT=0
for _ in $(seq 20); do
  snap -window "$WINDOW" "$OUT/text.png" || fail "screenshot of the typed text failed"
  LIGHT=$(light_in "$OUT/text.png" 745x130+35+450)
  [ "${LIGHT:-0}" -ge 600 ] 2>/dev/null && break
  sleep 0.5
  alive
done
[ "${LIGHT:-0}" -ge 600 ] 2>/dev/null || fail "no text in the message window ($LIGHT light pixels)"

# The colour of the window's pixel at (230, 170), just inside where the menu opens at (200, 150).
probe() {
  timeout 10 import -window "$WINDOW" png:- 2>/dev/null |
    timeout 10 convert - -format '%[pixel:p{230,170}]' info: 2>/dev/null
}
# Polls (up to 15 s) until `probe` satisfies the test named by $1, with $2 as its argument.
wait_for() {
  local colour
  for _ in $(seq 150); do
    alive
    colour=$(probe)
    "$1" "$colour" "$2" && return 0
    sleep 0.1
  done
  return 1
}
is_light() { # a menu's background, whatever the game shows around it
  [ -n "$1" ] && [ "$(convert xc:"$1" -format '%[fx:int(255*luminance)]' info:)" -ge 200 ]
}
differs() { [ -n "$1" ] && [ "$1" != "$2" ]; }

# Right click: the system menu opens at the pointer (starting may be slow: the UI font is built
# on first use).
xdotool mousemove --window "$WINDOW" 200 150 click 3
wait_for is_light "" || fail "no menu appeared at the pointer"
sleep 0.3
snap -window root "$OUT/menu.png" || fail "screenshot of the menu failed"
snap -window "$WINDOW" "$OUT/menu-window.png" || fail "screenshot of the window failed"
MENU_COLOUR=$(probe)

# Escape dismisses it; its release must not reach the game.
press Escape
wait_for differs "$MENU_COLOUR" || fail "Escape did not dismiss the menu"
sleep 0.3
snap -window "$WINDOW" "$OUT/window.png" || fail "screenshot of the window failed"

# The menu was a real menu over the picture: the two pictures differ in at least a menu's worth
# of pixels.
DIFFERENT=$(differing "$OUT/menu-window.png" "$OUT/window.png")
[ "$DIFFERENT" -ge 5000 ] 2>/dev/null || fail "the menu was too small ($DIFFERENT pixels differ)"

# The bar's save button opens the save screen; slot 1 saves the page and then shows its date and
# title; the return button gives the page back.
# True when slot 1's title line (a white "None", or a saved title) is on the window.
slot_list_shown() {
  snap -window "$WINDOW" "$OUT/now.png" && [ "$(light_in "$OUT/now.png" 60x18+105+203)" -ge 30 ]
}
wait_still || fail "the game never came to rest"
SAVE_SCREEN=
for _ in $(seq 10); do
  xdotool mousemove --window "$WINDOW" 450 589 click 1
  for _ in $(seq 10); do
    sleep 0.3
    alive
    slot_list_shown && SAVE_SCREEN=1 && break
  done
  [ -n "$SAVE_SCREEN" ] && break
  wait_still
done
[ -n "$SAVE_SCREEN" ] || fail "the save button did not open the save screen"
xdotool mousemove --window "$WINDOW" 100 190 click 1
for _ in $(seq 100); do
  [ -s "$OUT/game/save/save01.sav" ] && break
  sleep 0.1
  alive
done
[ "$(stat -c %s "$OUT/game/save/save01.sav" 2>/dev/null)" = 1592 ] || fail "slot 1 was not saved"
# The slot shows what it holds once the file is written: look a while (a slow build is late).
for _ in $(seq 30); do
  alive
  snap -window "$WINDOW" "$OUT/save-screen.png" || fail "screenshot of the save screen failed"
  DATE_LIGHT=$(light_in "$OUT/save-screen.png" 200x18+95+182)
  TITLE_LIGHT=$(light_in "$OUT/save-screen.png" 200x18+105+203)
  [ "${DATE_LIGHT:-0}" -ge 150 ] 2>/dev/null && [ "${TITLE_LIGHT:-0}" -ge 50 ] 2>/dev/null && break
  sleep 0.5
done
[ "${DATE_LIGHT:-0}" -ge 150 ] 2>/dev/null || fail "slot 1 shows no date ($DATE_LIGHT light pixels)"
[ "${TITLE_LIGHT:-0}" -ge 50 ] 2>/dev/null || fail "slot 1 shows no title ($TITLE_LIGHT light pixels)"
xdotool mousemove --window "$WINDOW" 100 110 click 1
changed_from "$OUT/save-screen.png" 50000 || fail "the return button did not leave the save screen"
wait_still || fail "the page did not come to rest after the save screen"
snap -window "$WINDOW" "$OUT/saved-page.png" || fail "screenshot of the saved page failed"
close_game

# A new run: the title's load item opens the load screen, slot 1 brings the saved page back.
launch second 800 600
sleep 1
snap -window "$WINDOW" "$OUT/title-again.png" || fail "screenshot of the title failed"
for _ in $(seq 20); do
  xdotool mousemove --window "$WINDOW" 400 386 click 1
  sleep 1
  alive
  slot_list_shown && break
done
snap -window "$WINDOW" "$OUT/load-screen.png" || fail "screenshot of the load screen failed"
LOAD_LIGHT=$(light_in "$OUT/load-screen.png" 200x18+95+182)
[ "${LOAD_LIGHT:-0}" -ge 150 ] 2>/dev/null || fail "the title's load item showed no load screen"
xdotool mousemove --window "$WINDOW" 100 190 click 1
changed_from "$OUT/load-screen.png" 50000 || fail "slot 1 did not load"
# The saved page resumes at its sprite command, which is drawn again over the restored scene, and
# the text after it is typed anew from there: the scene above the message window is the saved
# one (but for the sprite's twice-blended edges), and the window holds text again. Both take a
# while (the transition, the typing): look again until they are there.
convert "$OUT/saved-page.png" -crop 800x440+0+0 "$OUT/saved-scene.png"
for _ in $(seq 30); do
  alive
  snap -window "$WINDOW" "$OUT/restored-page.png" || fail "screenshot of the restored page failed"
  convert "$OUT/restored-page.png" -crop 800x440+0+0 "$OUT/restored-scene.png"
  RESTORED=$(differing "$OUT/saved-scene.png" "$OUT/restored-scene.png" -fuzz 3%)
  RESTORED_TEXT=$(light_in "$OUT/restored-page.png" 745x130+35+450)
  [ "$RESTORED" -le 2000 ] 2>/dev/null && [ "${RESTORED_TEXT:-0}" -ge 600 ] 2>/dev/null && break
  sleep 0.5
done
[ "$RESTORED" -le 2000 ] 2>/dev/null || fail "the loaded scene differs ($RESTORED pixels)"
[ "${RESTORED_TEXT:-0}" -ge 600 ] 2>/dev/null || fail "no text on the loaded page ($RESTORED_TEXT)"
close_game

# A large screen: the window takes the largest whole factor that fits (twice 800 x 600 on
# 2560 x 1600), and F11 switches to full screen and back, the setting kept in env.dat (its
# windowed flag, the int32 at byte 4: 1 windowed, 0 full screen).
kill "$XVFB_PID" 2>/dev/null
wait "$XVFB_PID" 2>/dev/null
start_xvfb 2560x1600x24
launch large 1600 1200
# env.dat is replaced whole (written aside, then renamed), so a read sees the old flag or the new.
windowed_flag() { od -An -tu1 -j4 -N1 "$OUT/game/save/env.dat" 2>/dev/null | tr -d ' '; }
# Presses F11 until the windowed flag reads $1. Each press is given ample time to show before
# the next: two presses taken together would switch there and back unseen.
switch_to() {
  local flag=
  for _ in 1 2 3; do
    press F11
    for _ in $(seq 100); do
      alive
      flag=$(windowed_flag)
      [ "$flag" = "$1" ] && return 0
      sleep 0.1
    done
  done
  fail "F11 left env.dat's windowed flag at ${flag:-nothing}, expected $1"
}
switch_to 0
switch_to 1
find_window
[ "$WIDTH" = 1600 ] && [ "$HEIGHT" = 1200 ] || fail "back from full screen the window is ${WIDTH}x${HEIGHT}"
close_game
echo "ok: clicked, showed the menu, saved, closed, loaded the save again, scaled to a large screen, switched full screen; screenshots in $OUT"
