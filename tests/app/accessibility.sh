#!/usr/bin/env bash
# Tunefold - lists the MP3 files of a folder as an HTML page.
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Starts the real program on a virtual X display with the accessibility bus
# running, as a desktop with a screen reader has it, and lets atspi_walk.py
# read the window and make a list through that bus alone.
# Usage: accessibility.sh PROGRAM
# Exits 77 (skipped) when Xvfb, D-Bus, the bus launcher or pyatspi is missing.
set -euo pipefail

program=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
launcher=/usr/libexec/at-spi-bus-launcher
# Debian's own interpreter: pyatspi is a Debian package, not a pip one.
python=/usr/bin/python3

skip() { echo "accessibility: $*" >&2; exit 77; }
command -v Xvfb >/dev/null || skip "Xvfb is not installed"
command -v dbus-run-session >/dev/null || skip "dbus-run-session is not installed"
[[ -x $launcher ]] || skip "at-spi2-core's bus launcher is not installed"
"$python" -c 'import pyatspi' 2>/dev/null || skip "python3-pyatspi is not installed"

work=$(mktemp -d)
xvfb=
trap '[[ -z $xvfb ]] || kill "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1024x768x24 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do
  [[ $(wc -l <"$work/display") -ge 1 ]] && break
  sleep 0.1
done
export DISPLAY=:$(<"$work/display")
[[ $DISPLAY != : ]] || { echo "accessibility: Xvfb did not start" >&2; exit 1; }
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0

mkdir "$work/music"
head -c 1048576 /dev/zero >"$work/music/First Song.mp3"

# A private session bus; the launcher starts the accessibility bus on it
# and the registry that the walker asks for applications.
cd "$work/music"
dbus-run-session -- bash -c '
  set -euo pipefail
  "$1" --launch-immediately &
  launcher=$!
  "$2" 2>"$4/errors" &
  program=$!
  trap "kill $program $launcher 2>/dev/null || true" EXIT
  "$3" "$5" "$4/list"
' accessibility "$launcher" "$program" "$python" "$work" "$here/atspi_walk.py"
