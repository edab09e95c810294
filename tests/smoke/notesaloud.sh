#!/bin/bash
# Under a real X server and a real accessibility bus: a game from --new-game takes notes by
# keyboard, and a screen reader hears them; Ctrl+Shift+N, a placement and Ctrl+H follow.
# Run inside dbus-run-session and xvfb-run. $1: the game, $2: notesaloud.py, $3: its Python.
set -eu
. "$(dirname "$0")/gamewindow.sh"
game=$1 probe=$2 python=$3
work=$(mktemp -d)
pid=
trap '[ -z "$pid" ] || { kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; }; rm -rf "$work"' EXIT
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/run
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
# On the X server, whatever the test run asks of other tests.
export QT_QPA_PLATFORM=xcb QT_ACCESSIBILITY=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
sleep 2
"$game" --new-game --list Fruit --level 3 --seed 11 >"$work/game.log" 2>&1 &
pid=$!
waitwindow "$work/game.log"
keys() { for k in "$@"; do xdotool key "$k"; sleep 0.4; done; sleep 0.6; }
keys n 1 2
"$python" "$probe" notes
keys n ctrl+shift+n 3 space
"$python" "$probe" placed
keys ctrl+h
"$python" "$probe" hint
