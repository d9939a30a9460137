# Sourced by the end-to-end scripts, with $folder a temporary folder: under the sanitizers, the
# system's X keyboard and D-Bus libraries trip them on their own.
printf 'interceptor_via_lib:libxkbcommon-x11.so\n' >"$folder/asan.supp"
printf 'leak:libdbus-1.so\n' >"$folder/lsan.supp"
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:suppressions=$folder/asan.supp"
export LSAN_OPTIONS="${LSAN_OPTIONS:-}:suppressions=$folder/lsan.supp"
