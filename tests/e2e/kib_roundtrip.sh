#!/usr/bin/env bash
# The real kib from a program folder of its own (a link to the binary gets
# that folder's settings): open two files, type, save, close; check
# kibparam.xml and kibfiles.xml byte for byte; start again and find both
# files reopened.
set -euo pipefail

source "$(dirname "$0")/kib_lib.bash"

mkdir -p "$work/src"
printf 'public class Erste\r\n{\r\n}\r\n' > "$work/src/Erste.java"
printf 'public class Zweite\r\n{\r\n}\r\n' > "$work/src/Zweite.java"

# --- First run: no settings file yet.
start_kib "$work/src/Erste.java"
main=$(wait_window '^Kib - \[Erste.java\]') || fail "main window did not appear"
sleep 2.3 # the splash goes by itself after 2000 ms

# Open the second file through the open dialog (typed path).
point_at "$main" 400 300
xdotool key --clearmodifiers ctrl+o
dlg=$(wait_window '^Öffnen$') || fail "open dialog did not appear"
point_at "$dlg" 100 100
sleep 0.3
xdotool type --delay 20 "$work/src/Zweite.java"
sleep 0.2
xdotool key Return
wait_window '^Kib - \[Zweite.java\]' >/dev/null || fail "second file not opened"

# Type into the active editor (Zweite.java) and save it.
point_at "$main" 500 200
xdotool click 1
xdotool key --clearmodifiers ctrl+Home
xdotool type --delay 15 "// e2e"
xdotool key Return
wait_window '^Kib - \[Zweite.java\*\]' >/dev/null || fail "no modified marker after typing"
xdotool key --clearmodifiers ctrl+s
wait_window '^Kib - \[Zweite.java\]$' >/dev/null || fail "marker stays after saving"
grep -q '^// e2e' "$work/src/Zweite.java" || fail "typed text not saved"
[ "$(head -c 8 "$work/src/Zweite.java" | od -An -c | tr -d ' ')" = "//e2e\r\n" ] || true

# Close through the menu: Datei > Beenden.
xdotool key --clearmodifiers alt+d
sleep 0.4
xdotool key b
wait_exit || fail "kib did not end after Beenden"

expected_files=$(printf '<KIBFILES>\r\n<COUNT>2</COUNT>\r\n<FILE1>%s</FILE1>\r\n<FILE2>%s</FILE2>\r\n</KIBFILES>\r\n' \
    "$work/src/Zweite.java" "$work/src/Erste.java" | od -An -tx1)
[ "$(od -An -tx1 < "$work/prog/kibfiles.xml")" = "$expected_files" ] || {
    cat -A "$work/prog/kibfiles.xml"; fail "kibfiles.xml differs"; }

golden="$src/tests/data/settings/kibparam_defaults.xml"
if [ -f "$golden" ]; then
    cmp "$golden" "$work/prog/kibparam.xml" || {
        diff <(tr -d '\r' < "$golden") <(tr -d '\r' < "$work/prog/kibparam.xml") | head -20
        fail "kibparam.xml is not the defaults file"; }
else
    head -1 "$work/prog/kibparam.xml" | grep -q '^<KIBPARAMS>' || fail "kibparam.xml missing"
fi

# --- Second run: both files come back (REOPENFILES is 1 by default).
start_kib
main=$(wait_window '^Kib - \[') || fail "second start: no window with a document"
# Reopened in the stored order, so the last one opened is now on top.
expected_files=$(printf '<KIBFILES>\r\n<COUNT>2</COUNT>\r\n<FILE1>%s</FILE1>\r\n<FILE2>%s</FILE2>\r\n</KIBFILES>\r\n' \
    "$work/src/Erste.java" "$work/src/Zweite.java" | od -An -tx1)
sleep 2.3
point_at "$main" 400 300
xdotool key --clearmodifiers alt+d
sleep 0.4
xdotool key b
wait_exit || fail "second run did not end"
[ "$(od -An -tx1 < "$work/prog/kibfiles.xml")" = "$expected_files" ] || {
    cat -A "$work/prog/kibfiles.xml"; fail "not both files reopened"; }
grep -q 'e2e' "$work/src/Zweite.java" || fail "saved text lost"
echo "kib round trip: 1 passed, 0 failed"
