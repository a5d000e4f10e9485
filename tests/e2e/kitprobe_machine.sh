#!/usr/bin/env bash
# Kitprobe end to end over this machine's own disks: "&Ja", the result
# dialog accepted, and a kibparam.xml written by Kib keeps every other key
# byte for byte while the JDK keys name what is installed here. What the
# walk must find is worked out independently with find(1).
source "$(dirname "$0")/kitprobe_lib.bash"

# The first, in the result boxes' order (letters without case, then bytes),
# of what find sees: executable regular files of that name outside hidden
# folders, or folders holding "tooldocs". "/" is this machine's only disk
# file system where this runs; other disks would need walking too.
first_of() { awk '{ print tolower($0) "\t" $0 }' | sort -t "$(printf '\t')" -k1,1 -k2,2 | head -1 | cut -f2; }
program() {
  find / -xdev \( -name '.*' ! -path / -prune \) -o -type f -iname "$1" -perm /111 -print \
    2>/dev/null | grep -v '[<>]' | first_of
}
docs() {
  find / -xdev \( -name '.*' ! -path / -prune \) -o -type d -name tooldocs -prune -print \
    2>/dev/null | sed 's|/tooldocs$|/index.html|' | grep -v '[<>]' | first_of
}
expected() { echo "$(program javac)|$(program java)|$(program appletviewer)|$(docs)"; }

kp_tempdir work
"$KIBPARAM_TOOL" write "$work/kibparam.xml" || fail "helper could not write kibparam.xml"
cp "$work/kibparam.xml" "$work/old.xml"

before=$(expected)
start=$SECONDS
kp_start "$work"
kp_wait_window "Nach JDK suchen" 30
kp_shot kitprobe-question
kp_key "$KP_WIN" alt+j
# A cold walk of a big disk may take minutes, as the question says.
kp_wait_window "Ergebnis" 600
echo "walk of the machine: $((SECONDS - start)) s until the result dialog"
kp_shot kitprobe-result
kp_key "$KP_WIN" Return
kp_wait_exit 30
after=$(expected)

got="$(kp_get "$work/kibparam.xml" KIBPARAMS:JDK:COMPILER:PATH)|$(kp_get "$work/kibparam.xml" KIBPARAMS:JDK:INTERPRETER:PATH)"
for e in "$before" "$after"; do
  IFS='|' read -r javac java av doc <<< "$e"
  if kp_expected_file "$work/old.xml" "$javac" "$java" "$av" "$doc" | cmp -s - "$work/kibparam.xml"; then
    echo "compiler:     ${javac:-nichts gefunden (key kept)}"
    echo "interpreter:  ${java:-nichts gefunden (key kept)}"
    echo "appletviewer: ${av:-nichts gefunden (key kept)}"
    echo "docs:         ${doc:-nichts gefunden (key kept)}"
    [ -n "$javac" ] && echo "  $("$javac" -version 2>&1 | head -1)"
    [ -n "$java" ] && echo "  $("$java" -version 2>&1 | head -1)"
    echo "PASS"
    exit 0
  fi
done
echo "find expected: $before"
echo "kitprobe wrote: $got"
IFS='|' read -r javac java av doc <<< "$after"
kp_check_update "$work/old.xml" "$work/kibparam.xml" "$javac" "$java" "$av" "$doc"
fail "unreachable"
