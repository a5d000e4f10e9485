# Shared by the Kitprobe end-to-end tests (sourced, not a test itself).
# Drives the real kitprobe under the X server of xvfb-run: there is no window
# manager, so keys go to the window under the pointer, which is moved onto
# the target first. Every wait is bounded.

set -uo pipefail

: "${KIB_BUILD_DIR:?}" "${KIB_SOURCE_DIR:?}"
KITPROBE=$KIB_BUILD_DIR/kitprobe/kitprobe
KIBPARAM_TOOL=$KIB_BUILD_DIR/kitprobe/kitprobe_kibparam_tool
SHOTS=${KIB_KITPROBE_SHOTS:-}
export LC_ALL=C

for bin in "$KITPROBE" "$KIBPARAM_TOOL"; do
  [ -x "$bin" ] || { echo "FAIL: $bin not built"; exit 1; }
done
command -v xdotool >/dev/null || { echo "FAIL: xdotool missing"; exit 1; }

KP_PID=
KP_TEMP=()
kp_cleanup() {
  if [ -n "$KP_PID" ] && kill -0 "$KP_PID" 2>/dev/null; then
    kill "$KP_PID" 2>/dev/null; wait "$KP_PID" 2>/dev/null
  fi
  for d in "${KP_TEMP[@]}"; do rm -rf "$d"; done
}
trap kp_cleanup EXIT

fail() { echo "FAIL: $*"; exit 1; }

# kp_tempdir <var>: a new temporary folder, removed at the end. Hidden, so
# that a walk of the whole machine running at the same time never takes the
# fake JDKs in it for real ones.
kp_tempdir() {
  local d
  d=$(mktemp -d "${TMPDIR:-/tmp}/.kitprobe-e2e.XXXXXX") || fail "mktemp"
  KP_TEMP+=("$d")
  printf -v "$1" '%s' "$d"
}

# kp_start <dir> [VAR=value ...]: starts kitprobe with <dir> as its current
# directory, through the command in KP_RUNNER when that is set (words split
# at blanks, e.g. "setpriv --reuid=65534 …").
KP_RUNNER=
kp_start() {
  local dir=$1; shift
  # shellcheck disable=SC2086
  (cd "$dir" && exec $KP_RUNNER env "$@" "$KITPROBE") &
  KP_PID=$!
}

# kp_wait_window <title> <seconds>: sets KP_WIN once the window is mapped.
kp_wait_window() {
  local title=$1 limit=$2 id end=$((SECONDS + $2))
  KP_WIN=
  while [ $SECONDS -le $end ]; do
    id=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -1)
    if [ -n "$id" ]; then KP_WIN=$id; return 0; fi
    kill -0 "$KP_PID" 2>/dev/null || fail "kitprobe ended before \"$title\" appeared"
    sleep 0.1
  done
  fail "no window \"$title\" within ${limit}s"
}

# kp_to_result <dir> [VAR=value ...]: kp_start, "&Ja" to the question, then
# waits for the result dialog, which KP_WIN names.
kp_to_result() {
  kp_start "$@"
  kp_wait_window "Nach JDK suchen" 30
  kp_key "$KP_WIN" alt+j
  kp_wait_window "Ergebnis" 60
}

# kp_key <window> <keys…>: moves the pointer onto the window and types.
kp_key() {
  local id=$1; shift
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$id")"
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
  sleep 0.3
  xdotool key --delay 80 "$@"
}

# kp_wait_exit <seconds>: waits for kitprobe to end; sets KP_RC.
kp_wait_exit() {
  local end=$((SECONDS + $1))
  while kill -0 "$KP_PID" 2>/dev/null; do
    [ $SECONDS -le $end ] || fail "kitprobe still running after ${1}s"
    sleep 0.1
  done
  wait "$KP_PID"; KP_RC=$?
  KP_PID=
}

kp_shot() {
  [ -n "$SHOTS" ] || return 0
  mkdir -p "$SHOTS" && sleep 0.4 && import -window root "$SHOTS/$1.png"
}

# kp_expected_file <old> <compiler> <interpreter> <appletviewer> <docu>:
# prints <old> with those four leaves replaced, byte for byte; an empty
# argument leaves its leaf as it was. Independent of Kib's own reader.
kp_expected_file() {
  awk -v c="$2" -v i="$3" -v a="$4" -v d="$5" '
    BEGIN { want["KIBPARAMS:JDK:COMPILER:PATH"] = c; want["KIBPARAMS:JDK:INTERPRETER:PATH"] = i
            want["KIBPARAMS:JDK:EXTRAS:AVPATH"] = a; want["KIBPARAMS:JDK:EXTRAS:DOCUPATH"] = d
            depth = 0 }
    {
      line = $0; cr = sub(/\r$/, "", line)
      if (line ~ /^<\/[^<>]*>$/) { depth--; print $0; next }
      if (line ~ /^<[^<>\/]*>$/) { stack[++depth] = substr(line, 2, length(line) - 2); print $0; next }
      name = substr(line, 2, index(line, ">") - 2)
      key = ""
      for (k = 1; k <= depth; k++) key = key stack[k] ":"
      key = key name
      if ((key in want) && want[key] != "")
        printf "<%s>%s</%s>%s\n", name, want[key], name, (cr ? "\r" : "")
      else
        print $0
    }' "$1"
}

# kp_check_update <old> <new> <compiler> <interpreter> <appletviewer> <docu>
kp_check_update() {
  local old=$1 new=$2; shift 2
  kp_expected_file "$old" "$@" > "$old.expected"
  if ! cmp -s "$old.expected" "$new"; then
    diff <(cat -A "$old.expected") <(cat -A "$new") | head -20
    fail "kibparam.xml is not the old file with just the JDK keys changed"
  fi
}

kp_get() { "$KIBPARAM_TOOL" get "$1" "$2"; }
