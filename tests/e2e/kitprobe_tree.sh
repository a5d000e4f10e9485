#!/usr/bin/env bash
# Kitprobe end to end over temporary "drives" (KIB_KITPROBE_TEST_DRIVES):
# "&Ja" then OK updates a kibparam.xml written by Kib key for key, "&Nein"
# and "Abbrechen" write nothing, and a missing file with nothing found
# becomes the file with the empty root.
source "$(dirname "$0")/kitprobe_lib.bash"

# Two drives: two JDKs with capitals and a wrongly spelt TOOLDOCS on one;
# the documentation, a JDK inside a hidden folder and a link loop on the other.
kp_tempdir drives
d1=$drives/a; d2=$drives/b
mkexe() { mkdir -p "$(dirname "$1")" && printf '#!/bin/sh\n' > "$1" && chmod 755 "$1"; }
for f in javac java appletviewer javadoc; do mkexe "$d1/opt/jdk-b/bin/$f"; done
mkexe "$d1/opt/JDK-a/bin/JAVAC"; mkexe "$d1/opt/JDK-a/bin/java"
mkdir -p "$d1/opt/JDK-a/docs/TOOLDOCS" "$d2/share/jdk-doc/docs/tooldocs"
mkexe "$d2/.sdk/jdk/bin/javac"
mkdir -p "$d2/loop" && ln -s .. "$d2/loop/up"

echo "== Ja, OK: the four keys change, every other byte stays"
kp_tempdir work
"$KIBPARAM_TOOL" write "$work/kibparam.xml" || fail "helper could not write kibparam.xml"
cp "$work/kibparam.xml" "$work/old.xml"
kp_to_result "$work" KIB_KITPROBE_TEST_DRIVES="$d1:$d2"
kp_key "$KP_WIN" Return
kp_wait_exit 30
[ "$KP_RC" = 0 ] || fail "exit code $KP_RC"
kp_check_update "$work/old.xml" "$work/kibparam.xml" \
  "$d1/opt/JDK-a/bin/JAVAC" "$d1/opt/JDK-a/bin/java" "$d1/opt/jdk-b/bin/appletviewer" \
  "$d2/share/jdk-doc/docs/index.html"
grep -q javadoc "$work/kibparam.xml" && fail "the javadoc choice was stored"
echo "compiler: $(kp_get "$work/kibparam.xml" KIBPARAMS:JDK:COMPILER:PATH)"

echo "== Nein: nothing is searched or written"
stat -c '%i %Y' "$work/kibparam.xml" > "$work/stat.before"
cp "$work/kibparam.xml" "$work/before.xml"
kp_start "$work" KIB_KITPROBE_TEST_DRIVES="$d1:$d2"
kp_wait_window "Nach JDK suchen" 30
kp_key "$KP_WIN" alt+n
kp_wait_exit 10
cmp -s "$work/before.xml" "$work/kibparam.xml" || fail "Nein changed kibparam.xml"
[ "$(stat -c '%i %Y' "$work/kibparam.xml")" = "$(cat "$work/stat.before")" ] \
  || fail "Nein rewrote kibparam.xml"
kp_tempdir empty
kp_start "$empty" KIB_KITPROBE_TEST_DRIVES="$d1"
kp_wait_window "Nach JDK suchen" 30
kp_key "$KP_WIN" alt+n
kp_wait_exit 10
[ -z "$(ls -A "$empty")" ] || fail "Nein created a file: $(ls -A "$empty")"

echo "== Abbrechen in the result: nothing written"
kp_to_result "$work" KIB_KITPROBE_TEST_DRIVES="$d1:$d2"
kp_key "$KP_WIN" Escape
kp_wait_exit 30
[ "$(stat -c '%i %Y' "$work/kibparam.xml")" = "$(cat "$work/stat.before")" ] \
  || fail "Abbrechen rewrote kibparam.xml"

echo "== missing file, nothing found: the file with the empty root"
kp_tempdir nothing
kp_start "$empty" KIB_KITPROBE_TEST_DRIVES="$nothing"
kp_wait_window "Nach JDK suchen" 30
kp_key "$KP_WIN" Return
kp_wait_window "Ergebnis" 60
kp_key "$KP_WIN" Return
kp_wait_exit 30
printf '<>\r\n</>\r\n' > "$work/empty-root.xml"
cmp -s "$work/empty-root.xml" "$empty/kibparam.xml" \
  || { cat -A "$empty/kibparam.xml"; fail "not the empty-root file"; }

echo "PASS"
