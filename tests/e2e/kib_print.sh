#!/usr/bin/env bash
# The shell's print command on the real kib: "/p file" on a machine without
# a printer prints into a PDF beside the file, says so in German on standard
# error and ends with 0, showing no window; "/pt" to a printer that does not
# exist does the same. Non-ASCII text survives into the PDF.
set -euo pipefail

source "$(dirname "$0")/kib_lib.bash"
command -v pdftotext >/dev/null || { echo "pdftotext missing"; exit 1; }
if command -v lpstat >/dev/null && [ -n "$(lpstat -e 2>/dev/null)" ]; then
    echo "this machine has printers: skipped"
    exit 77
fi

mkdir -p "$work/src"
printf 'public class Gr\xc3\xbc\xc3\x9fe {\r\n    // \xc2\xa7 1: \xc3\xa4\xc3\xb6\xc3\xbc\r\n}\r\n' > "$work/src/Gruesse.java"

rc=0
(cd "$work" && timeout 60 "$work/prog/kib" /p "$work/src/Gruesse.java" >"$work/out.log" 2>&1) || rc=$?
[ "$rc" -eq 0 ] || { cat "$work/out.log"; fail "/p ended with $rc"; }
[ -s "$work/src/Gruesse.pdf" ] || fail "no PDF beside the file"
grep -q "Es ist kein Drucker eingerichtet. Der Text wurde in die Datei „$work/src/Gruesse.pdf“ gedruckt." "$work/out.log" ||
    { cat "$work/out.log"; fail "no German note of what was done"; }
text=$(pdftotext -layout "$work/src/Gruesse.pdf" -)
grep -q 'public class Grüße {' <<<"$text" || fail "text missing: $text"
grep -q '// § 1: äöü' <<<"$text" || fail "umlauts or § missing: $text"
grep -q 'Page 1/1' <<<"$text" || fail "footer missing: $text"

rm -f "$work/src/Gruesse.pdf"
rc=0
(cd "$work" && timeout 60 "$work/prog/kib" /pt "$work/src/Gruesse.java" GibtEsNicht treiber port >"$work/out.log" 2>&1) ||
    rc=$?
[ "$rc" -eq 0 ] || { cat "$work/out.log"; fail "/pt ended with $rc"; }
grep -q "Den Drucker „GibtEsNicht“ gibt es nicht." "$work/out.log" || { cat "$work/out.log"; fail "no note on /pt"; }
[ -s "$work/src/Gruesse.pdf" ] || fail "no PDF after /pt"
echo "ok"
