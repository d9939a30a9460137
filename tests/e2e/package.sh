#!/bin/sh
# Runs the program of the Debian package as installed for all users, from the package unpacked into
# a temporary root: it answers --version and --help without a display; on the X server of $DISPLAY
# it opens with an ERROR box when $XDG_DATA_HOME/Dartrail cannot be made, and a game saved lands
# in $XDG_DATA_HOME/Dartrail, with nothing written beside the program.
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
version=$(env -u DISPLAY "$program" --version)
[ "$version" = "Dartrail $(dpkg-deb -f "$deb" Version)" ] || fail "--version: $version"
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
"$(dirname "$0")/save_and_close.sh" "$program" "$XDG_DATA_HOME/Dartrail"
[ "$(ls -A "$root/usr/bin")" = dartrail ] || fail "beside the program: $(ls -A "$root/usr/bin")"
