#!/usr/bin/env bash
# Starts the real program on the X display it is given (xvfb-run provides one), waits for its
# window, saves a screenshot, closes the window as a window manager would and checks that the
# settings were written on the way out.
#   smoke.sh VASKELIO X11PROBE ARTIFACT_DIR
set -u
program=$1 probe=$2 artifacts=$3
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data
unset QT_QPA_PLATFORM
mkdir -p "$artifacts"

"$program" &
pid=$!
fail() { echo "smoke: $*" >&2; kill "$pid" 2>/dev/null; exit 1; }

"$probe" wait Vaskelio 30 || fail "no window titled Vaskelio appeared"
sleep 1 # let the first paint settle before the picture
"$probe" grab "$artifacts/vaskelio.png" || fail "could not take a screenshot"
"$probe" close Vaskelio || fail "could not ask the window to close"

for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "the program did not end after its window was closed"
wait "$pid" || fail "the program ended with status $?"

conf=$XDG_CONFIG_HOME/Morvane/Vaskelio.conf
[ -f "$conf" ] || fail "no settings were written to $conf"
grep -q '^langid=0' "$conf" || fail "settings lack langid: $(cat "$conf")"
[ -d "$XDG_DATA_HOME/Vaskelio/saves" ] || fail "no data folder with its saves folder"
cmp -s "$(dirname "$program")/lists.txt" "$XDG_DATA_HOME/Vaskelio/lists.txt" ||
    fail "lists.txt was not seeded from the program's folder"
echo "smoke: window shown, screenshot in $artifacts/vaskelio.png, settings written"
