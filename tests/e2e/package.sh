#!/bin/sh
# Runs the program of the Debian package as installed for all users, from the package unpacked into
# a temporary root: it answers --version and --help without a display; on the X server of $DISPLAY
# it opens with an ERROR box when $XDG_DATA_HOME/Dartrail cannot be made; with no browser to be
# found, HELP shows the help page in the program's own window; and a game saved lands in
# $XDG_DATA_HOME/Dartrail, its settings in $XDG_CONFIG_HOME/dartrail, with nothing written beside
# the program.
# Usage (CTest runs it so): xvfb-run -a package.sh folder/holding/the/package.deb
set -eu
deb=$(ls "$1"/dartrail_*.deb)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
folder=$root
. "$(dirname "$0")/sanitizers.sh"

dpkg-deb -x "$deb" "$root"
program=$root/usr/bin/dartrail
# Nothing of the user who runs the test is touched.
export HOME="$root/home" XDG_CONFIG_HOME="$root/config"
mkdir "$HOME"
version=$(env -u DISPLAY "$program" --version)
[ "$(echo "$version" | head -n 1)" = "Dartrail $(dpkg-deb -f "$deb" Version)" ] ||
    fail "--version: $version"
echo "$version" | grep -q 'GPL-3.0-or-later' || fail "no licence in --version: $version"
env -u DISPLAY "$program" --help | grep -q 'XDG_DATA_HOME/Dartrail' || fail "--help"

# Where nothing can be written, the player is told at once.
XDG_DATA_HOME=$program QT_QPA_PLATFORM=xcb "$program" >/dev/null 2>&1 &
pid=$!
told=
for _ in $(seq 100); do
    xdotool search --name '^ERROR$' >/dev/null && told=1 && break
    sleep 0.1
done
kill "$pid"
wait "$pid" || true
[ -n "$told" ] || fail "no ERROR box at start-up with nowhere to write"

export XDG_DATA_HOME="$root/data"
# HELP on a desktop without a browser or xdg-open (none on PATH), started from a folder without the
# page: the package's page in the program's own window, titled as the page, its text copied out
# with Ctrl+A Ctrl+C starting with the page's first heading.
page=$root/usr/share/dartrail/ReadMe_and_Help.html
title=$(sed -n 's|.*<title>\(.*\)</title>.*|\1|p' "$page" | head -n 1)
heading=$(sed -n 's|.*<h1>\(.*\)</h1>.*|\1|p' "$page" | head -n 1)
(cd "$HOME" && exec env -u BROWSER PATH=/nonexistent QT_QPA_PLATFORM=xcb "$program") \
    >"$root/help.log" 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null; rm -rf "$root"' EXIT
window() {
    for _ in $(seq 100); do
        found=$(xdotool search --onlyvisible --name "^$1\$" | head -n 1)
        [ -n "$found" ] && echo "$found" && return
        sleep 0.1
    done
    fail "no window \"$1\": $(cat "$root/help.log")"
}
xdotool windowfocus --sync "$(window Dartrail)"
sleep 1
xdotool key --delay 100 alt+h Return
xdotool windowfocus --sync "$(window "$title")"
sleep 0.5
xdotool key --delay 100 ctrl+a ctrl+c
for _ in $(seq 50); do # the copy may come a little after the keys
    text=$(xclip -o -selection clipboard 2>/dev/null | sed '/^ *$/d' | head -n 1)
    [ "$text" = "$heading" ] && break
    sleep 0.1
done
[ "$text" = "$heading" ] || fail "the help window begins with \"$text\", not \"$heading\""
kill "$pid"
wait "$pid" || true
trap 'rm -rf "$root"' EXIT

"$(dirname "$0")/save_and_close.sh" "$program" "$XDG_DATA_HOME/Dartrail" "$XDG_CONFIG_HOME/dartrail"
[ "$(ls -A "$root/usr/bin")" = dartrail ] || fail "beside the program: $(ls -A "$root/usr/bin")"
