# Shared by the end-to-end tests of the real kib binary (sourced, not a test):
# a temporary program folder with a link to kib (the link gets that folder's
# settings), its own per-user store, and xdotool helpers with bounded waits.
# Sets: build, src, kib, work, pid.

build=${KIB_BUILD_DIR:?}
src=${KIB_SOURCE_DIR:?}
kib="$build/app/kib"
[ -x "$kib" ] || { echo "no kib binary at $kib"; exit 1; }
command -v xdotool >/dev/null || { echo "xdotool missing"; exit 1; }

work=$(mktemp -d /tmp/kib-e2e.XXXXXX)
pid=""
kib_cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    rm -rf "$work"
}
trap kib_cleanup EXIT

mkdir -p "$work/prog" "$work/cfg"
ln -s "$kib" "$work/prog/kib"
export XDG_CONFIG_HOME="$work/cfg"
export XDG_CACHE_HOME="$work/cache"

fail() {
    echo "FAIL: $*"
    [ -n "${KIB_E2E_SHOTS:-}" ] &&
        import -window root "$KIB_E2E_SHOTS/e2e-$(basename "$0" .sh)-fail.png" 2>/dev/null
    xdotool search --name '.' getwindowname %@ 2>/dev/null | grep -v '^$' | head -20
    tail -20 "$work/kib.log" 2>/dev/null || true
    exit 1
}

# Waits until a window whose name matches $1 exists; prints its id.
wait_window() {
    local id=""
    for _ in $(seq 1 100); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

# Puts the pointer on a window (keys go to the window under it without a
# window manager) and gives it the focus.
point_at() {
    local id=$1 x=${2:-200} y=${3:-200}
    eval "$(xdotool getwindowgeometry --shell "$id")"
    xdotool mousemove $((X + x)) $((Y + y))
    xdotool windowfocus --sync "$id" 2>/dev/null || true
}

# Waits up to 30 s for a non-empty file.
wait_file() {
    for _ in $(seq 1 300); do
        [ -s "$1" ] && return 0
        sleep 0.1
    done
    return 1
}

# Starts kib from the work folder with the given arguments.
start_kib() {
    (cd "$work" && exec "$work/prog/kib" "$@" >>"$work/kib.log" 2>&1) &
    pid=$!
}

# Waits up to 15 s for kib to end.
wait_exit() {
    for _ in $(seq 1 150); do
        kill -0 "$pid" 2>/dev/null || { wait "$pid" || true; pid=""; return 0; }
        sleep 0.1
    done
    return 1
}

# Writes kibparam.xml: the defaults with the JDK's javac and java, captured
# output, no splash and no reopened files.
write_jdk_settings() {
    local jdk=$1
    awk -v javac="$jdk/bin/javac" -v java="$jdk/bin/java" '
        /^<COMPILER>/ { sec = "c" } /^<INTERPRETER>/ { sec = "i" } /^<EXTRAS>/ { sec = "" }
        /^<PATH><\/PATH>/ && sec == "c" { sub(/<PATH><\/PATH>/, "<PATH>" javac "</PATH>") }
        /^<PATH><\/PATH>/ && sec == "i" { sub(/<PATH><\/PATH>/, "<PATH>" java "</PATH>") }
        /^<CAPTUREOUTPUT>/ { sub(/>0</, ">1<") }
        /^<SHOWSPLASH>/ { sub(/>1</, ">0<") }
        /^<REOPENFILES>/ { sub(/>1</, ">0<") }
        { print }' "$src/tests/data/settings/kibparam_defaults.xml" > "$work/prog/kibparam.xml"
}

# Ended: no such process, or a zombie waiting for its parent.
ended() {
    local state
    state=$(sed 's/.*) //' "/proc/$1/stat" 2>/dev/null | cut -c1) || return 0
    [ -z "$state" ] || [ "$state" = Z ] || [ "$state" = X ]
}
