#!/bin/sh
# Runs the real program on the X server of $DISPLAY, types a mode-A card, saves it with Ctrl+S and
# Enter, leaves through FILE > EXIT, and checks the files it wrote. Without a data folder the program
# runs from a temporary folder of its own and keeps its files there; with one, it runs where it lies
# and must keep them in the data folder.
# Usage (CTest runs it so): xvfb-run -a save_and_close.sh path/to/Dartrail [data folder
# [settings folder, by default the data folder]]
set -eu
program=$1
folder=$(mktemp -d)
data=${2:-$folder}
settingsfolder=${3:-$data}
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$folder"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

if [ $# -lt 2 ]; then
    cp "$program" "$folder/Dartrail"
    program=$folder/Dartrail
fi
settings=$(basename "$program").ini
. "$(dirname "$0")/sanitizers.sh"
cd "$folder"
QT_QPA_PLATFORM=xcb "$program" >program.log 2>&1 &
pid=$!

# There is no window manager: focus goes to a window by xdotool's hand.
focus() {
    window=
    for _ in $(seq 150); do
        kill -0 "$pid" 2>/dev/null || fail "the program ended: $(cat "$folder/program.log")"
        window=$(xdotool search --onlyvisible --name "^$1\$" | head -n 1)
        [ -n "$window" ] && break
        sleep 0.2
    done
    [ -n "$window" ] || fail "no window \"$1\""
    xdotool windowfocus --sync "$window"
}
focus Dartrail
sleep 1 # let the window take its first focus before the keys arrive

values="3 12 1 7 99 2 5 4 10 6 8 9 11 1 2 3 4 5 6 7 25"
for value in $values; do
    xdotool type --delay 40 "$value"
    xdotool key --delay 40 Return
done
xdotool key --delay 40 ctrl+s
focus "SAVE DATA"
xdotool key Return

# The save waits for the next second before it clears the card; then leave through the menu.
cd "$data" || fail "no data folder $data"
for _ in $(seq 100); do [ -s Recent_A.csv ] && break; sleep 0.1; done
sleep 1.5
focus Dartrail
xdotool key --delay 100 alt+f c
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "the program is still running after EXIT"
wait "$pid" || fail "the program ended with status $?: $(cat "$folder/program.log")"
pid=

expected=$(printf '%s' "$values" | tr ' ' ',')
line=$(od -An -c Recent_A.csv | tr -d ' \n')
[ "$(wc -l <Recent_A.csv)" -eq 1 ] || fail "not one line: $(cat -A Recent_A.csv)"
grep -Eq "^[0-9]{4}/[0-9]{2}/[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2},$expected"$(printf '\r')'$' \
    Recent_A.csv || fail "unexpected line: $(cat -A Recent_A.csv)"
[ "$(tr -cd , <Recent_A.csv | wc -c)" -eq 21 ] || fail "not 21 commas: $line"
[ "$(tail -c 2 Recent_A.csv | od -An -tx1 | tr -d ' ')" = 0d0a ] || fail "no CR LF: $line"
settings=$settingsfolder/$settings
grep -q '^GRID=123' "$settings" || fail "$settings: $(cat "$settings")"
grep -q '^MODE=A' "$settings" || fail "$settings: $(cat "$settings")"
echo "saved: $(cat Recent_A.csv)"
