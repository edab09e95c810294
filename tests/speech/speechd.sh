#!/bin/bash
# Words handed to a real speech-dispatcher: a private one with espeak-ng, logging what it is
# given (level 5); no sound card is needed. Under a real X server and accessibility bus, as the
# player's keys reach the game. Then with no speech-dispatcher at all: told once, play goes on.
# Run inside dbus-run-session and xvfb-run. $1: the game, $2: speechd.py, $3: its Python.
set -eu
. "$(dirname "$0")/../smoke/gamewindow.sh"
game=$1 probe=$2 python=$3
work=$(mktemp -d)
pid= spd=
stop() { [ -z "$pid" ] || { kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true; }; pid=; }
# speech-dispatcher may wait for its output modules to finish; they and it go all the same.
stopspd() {
    [ -n "$spd" ] || return 0
    pkill -P "$spd" 2>/dev/null || true
    kill "$spd" 2>/dev/null || true
    for _ in $(seq 25); do kill -0 "$spd" 2>/dev/null || break; sleep 0.2; done
    kill -9 "$spd" 2>/dev/null || true
    spd=
}
trap 'stop; stopspd; rm -rf "$work"' EXIT
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/run
mkdir -p "$XDG_RUNTIME_DIR" "$work/log" && chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb QT_ACCESSIBILITY=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &

socket=$work/run/speechd.sock
log=$work/log/speech-dispatcher.log
export SPEECHD_ADDRESS=unix_socket:$socket
# A fresh server for each game: one whose client went while it spoke may keep the next waiting
# on its output module, with no sound card to speak to.
startspd() {
    rm -f "$socket" "$log"
    speech-dispatcher -s -c unix_socket -S "$socket" -l 5 -L "$work/log" -t 0 \
        >"$work/spd.out" 2>&1 &
    spd=$!
    for _ in $(seq 50); do [ -S "$socket" ] && break; sleep 0.2; done
    [ -S "$socket" ] || { echo "speech-dispatcher did not start"; cat "$work/spd.out"; exit 1; }
}

# $1: the list; the rest: the keys.
play() {
    local list=$1
    shift
    "$game" --new-game --list "$list" --level 3 --seed 11 >>"$work/game.log" 2>&1 &
    pid=$!
    waitwindow "$work/game.log"
    for k in "$@"; do xdotool key "$k"; sleep 0.4; done
    sleep 1.5
}

# $1: what the log must have been given; $2: a pattern the voice or language in force then
# must match.
heard() {
    "$python" - "$log" "$1" "$2" <<'PY'
import re, sys
log, word, want = sys.argv[1], sys.argv[2], sys.argv[3]
lines = open(log, encoding='utf-8', errors='replace').read().splitlines()
setting = None
for line in lines:
    m = re.search(r'DATA:\|SET SELF (LANGUAGE|SYNTHESIS_VOICE) (.*)$', line)
    if m:
        setting = setting or {}
        setting[m.group(1)] = m.group(2)
    elif re.search(r'DATA:\|' + re.escape(word) + '$', line):
        said = ' / '.join('%s %s' % kv for kv in sorted((setting or {}).items()))
        if not re.search(want, said):
            sys.exit('%s was given with %s, not %s' % (word, said, want))
        print('%s: %s' % (word, said))
        sys.exit(0)
sys.exit('speech-dispatcher was never given %s' % word)
PY
}

# 水果's word 3 is 李子: Chinese.
startspd
play 水果 3 ctrl+k
stop
heard 李子 'LANGUAGE zh|SYNTHESIS_VOICE Chinese \(Mandarin'
stopspd
# 曜日's word 1, 月曜日, goes as its kana reading, in Japanese.
startspd
play 曜日 1 ctrl+k
stop
heard げつようび 'LANGUAGE ja|SYNTHESIS_VOICE Japanese'

# No speech-dispatcher to be had: one message, then the game plays on.
stopspd
export SPEECHD_ADDRESS=unix_socket:$work/run/none.sock
play 水果 3 ctrl+k
"$python" "$probe" told
xdotool key Return
sleep 0.5
for k in ctrl+k 3 ctrl+k space; do xdotool key "$k"; sleep 0.4; done
sleep 1
"$python" "$probe" played
kill -0 "$pid"
stop
