# Sourced by the X tests: waitwindow waits for the game's window and gives it the keyboard,
# or shows the game's output ($1) and fails.
waitwindow() {
    local window=
    for _ in $(seq 50); do
        window=$(xdotool search --onlyvisible --name Vaskelio 2>/dev/null | head -1) || true
        [ -n "$window" ] && break
        sleep 0.2
    done
    [ -n "$window" ] || { echo "no window"; cat "$1"; exit 1; }
    xdotool windowfocus --sync "$window" 2>/dev/null || true
    sleep 1
}
