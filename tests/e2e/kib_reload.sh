#!/usr/bin/env bash
# The real kib with a file that another program changes while it is open:
# a plain write and an atomic rename-over each bring the reload question
# once ("Ja" reloads, "Nein" keeps the text); Kib's own save brings none.
set -euo pipefail

source "$(dirname "$0")/kib_lib.bash"

mkdir -p "$work/src"
file="$work/src/Wechsel.java"
printf 'class Wechsel {}\r\n' > "$file"

# No question window may be shown for the given seconds.
no_question() {
    sleep "$1"
    if xdotool search --onlyvisible --name '^Kib$' >/dev/null 2>&1; then
        fail "$2"
    fi
}

start_kib "$file"
main=$(wait_window '^Kib - \[Wechsel.java\]') || fail "main window did not appear"
sleep 2.3 # the splash goes by itself

# Kib's own save: no question.
point_at "$main" 500 200
xdotool click 1
xdotool key --clearmodifiers ctrl+Home
xdotool type --delay 15 "A"
wait_window '^Kib - \[Wechsel.java\*\]' >/dev/null || fail "no modified marker after typing"
xdotool key --clearmodifiers ctrl+s
wait_window '^Kib - \[Wechsel.java\]$' >/dev/null || fail "marker stays after saving"
no_question 1.5 "Kib's own save asked to reload"
[ "$(cat "$file")" = "$(printf 'Aclass Wechsel {}\r')" ] || fail "own save wrote $(od -c "$file" | head -2)"

# Another program writes: the question comes; "Ja" (Return) reloads.
printf 'class Wechsel { int neu; }\n' > "$file"
question=$(wait_window '^Kib$') || fail "no reload question after an outside write"
[ -n "${KIB_E2E_SHOTS:-}" ] && import -window root "$KIB_E2E_SHOTS/e2e-reload-question.png" 2>/dev/null
point_at "$question" 20 20
xdotool key --clearmodifiers Return
for _ in $(seq 1 50); do
    xdotool search --onlyvisible --name '^Kib$' >/dev/null 2>&1 || break
    sleep 0.1
done
no_question 1 "the question stayed or came twice"
# The reloaded text, with one typed character, saved: LF line ends kept.
point_at "$main" 500 200
xdotool click 1
xdotool key --clearmodifiers ctrl+Home
xdotool type --delay 15 "B"
xdotool key --clearmodifiers ctrl+s
wait_window '^Kib - \[Wechsel.java\]$' >/dev/null || fail "marker stays after the second save"
sleep 0.3
expected=$(printf 'Bclass Wechsel { int neu; }\n' | od -An -c)
[ "$(od -An -c < "$file")" = "$expected" ] || fail "not reloaded: $(od -An -c < "$file")"
no_question 1 "the second own save asked"

# An atomic save by another program (new file, renamed over): the question
# comes again; "Nein" (Escape) keeps Kib's text.
printf 'class Wechsel { ersetzt }\n' > "$work/src/.Wechsel.java.tmp"
mv "$work/src/.Wechsel.java.tmp" "$file"
question=$(wait_window '^Kib$') || fail "no reload question after a rename-over"
point_at "$question" 20 20
xdotool key --clearmodifiers Escape
no_question 1 "the question stayed after Nein"

# Deleting the file outside brings no question.
rm "$file"
no_question 1.5 "a deleted file asked"

# Beenden: the document is unmodified, nothing more is asked.
point_at "$main" 400 300
xdotool key --clearmodifiers alt+d
sleep 0.4
xdotool key b
wait_exit || fail "kib did not end after Beenden"
echo "PASS"
