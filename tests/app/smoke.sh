#!/usr/bin/env bash
# Tunefold - lists the MP3 files of a folder as an HTML page.
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Starts the real program on a virtual X display and does what a user would:
# looks at the window's size and place, makes a list with the mouse, leaves
# by File > Exit, and starts it once without hand.cur.
# Usage: smoke.sh PROGRAM [SCREENSHOT.png]
# Exits 77 (skipped) when Xvfb or xdotool is not installed.
set -euo pipefail

program=$(realpath "$1")
screenshot=${2:-}
title="Harrowfen's Tunefold"

for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "smoke: $tool is not installed" >&2; exit 77; }
done

work=$(mktemp -d)
xvfb=
trap '[[ -z $xvfb ]] || kill "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT

# The server picks a free display itself and writes its number once it takes
# connections, so runs side by side never meet. By default it resets whenever
# its last client leaves and refuses connections meanwhile: a program started
# just after an xdotool call could then not open the display.
Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1024x768x24 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do
  [[ $(wc -l <"$work/display") -ge 1 ]] && break
  sleep 0.1
done
export DISPLAY=:$(<"$work/display")
[[ $DISPLAY != : ]] || { echo "smoke: Xvfb did not start" >&2; exit 1; }
# The display above, whatever platform the caller's environment names.
export QT_QPA_PLATFORM=xcb

fail() { echo "smoke: $*" >&2; exit 1; }

# The id of the first window named $1, waiting up to ten seconds.
wait_window() {
  local id
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1 || true)
    [[ -n $id ]] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# Whether $1 and $2 differ by one at most.
near() { (($1 - $2 <= 1 && $2 - $1 <= 1)); }

# Waits up to ten seconds for process $1 to end and sets status to its exit
# status. It runs in this shell, not in $(...): only the shell that started a
# process can wait for it.
wait_exit() {
  for _ in $(seq 100); do
    if ! kill -0 "$1" 2>/dev/null; then
      status=0
      wait "$1" || status=$?
      return 0
    fi
    sleep 0.1
  done
  kill "$1"
  return 1
}

# 1. The window: a client area of 6252 x 3696 twips under the menu bar, at
# least 417 x 246 pixels (more with a font larger than the layout's), centred
# on the screen.
mkdir "$work/music"
head -c 1048576 /dev/zero >"$work/music/First Song.mp3"
cd "$work/music"
"$program" 2>"$work/errors" &
pid=$!
id=$(wait_window "$title") || fail "no window titled \"$title\""
eval "$(xdotool getwindowgeometry --shell "$id")" # X, Y, WIDTH, HEIGHT
echo "smoke: window ${WIDTH}x${HEIGHT} at ${X},${Y}"
((WIDTH >= 417)) || fail "width $WIDTH, expected 417 or more"
client=$(((3696 * WIDTH + 3126) / 6252)) # the client area's height in pixels
((HEIGHT > client && HEIGHT < client + 60)) || fail "height $HEIGHT: expected $client and a menu bar"
near "$X" $(((1024 - WIDTH) / 2)) && near "$Y" $(((768 - HEIGHT) / 2)) || fail "not centred"

if [[ -n $screenshot ]]; then
  command -v import >/dev/null || fail "import (imagemagick) is needed for a screenshot"
  sleep 0.5
  import -window "$id" "$screenshot"
fi

# 2. A list made with the mouse and the save dialog: the star in the
# current folder, a name typed without its extension, the final message.
xdotool mousemove --sync $((X + 5646 * WIDTH / 6252)) $((Y + HEIGHT - client + 1026 * WIDTH / 6252)) click 1
dialog=$(wait_window "Save your MP3 list...") || fail "no save dialog after a click on the star"
xdotool windowfocus --sync "$dialog"
xdotool type --delay 20 "$work/list"
xdotool key Return
finished=$(wait_window "Finished") || fail "no final message"
xdotool windowfocus --sync "$finished"
xdotool key Return
grep -q "First Song.mp3" "$work/list.html" || fail "the list does not name the song"
grep -q "1.00 MB" "$work/list.html" || fail "the list does not give the size"

# 3. File > Exit by its access keys ends the program at once, with status 0.
xdotool windowfocus --sync "$id"
xdotool key --clearmodifiers alt+f
sleep 0.3
xdotool key x
wait_exit "$pid" || fail "File > Exit did not end the program"
[[ $status -eq 0 ]] || fail "File > Exit ended with status $status"

# 4. Without hand.cur beside it the program reports a run-time error in a box
# and on standard error, and ends with a failure status once the box is
# closed, without ever showing its window.
cp "$program" "$work/tunefold"
"$work/tunefold" 2>"$work/errors" &
pid=$!
box=$(wait_window "Tunefold") || fail "no error box without hand.cur"
xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1 && fail "window shown without hand.cur"
xdotool windowfocus --sync "$box"
xdotool key Return
wait_exit "$pid" || fail "the program did not end after the error box"
[[ $status -ne 0 ]] || fail "ended with status 0 without hand.cur"
grep -q "Run-time error 2: No such file or directory: $work/hand.cur" "$work/errors" \
  || fail "no report on standard error: $(cat "$work/errors")"

echo "smoke: passed"
