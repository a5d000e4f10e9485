#!/usr/bin/env bash
# Kitprobe end to end where kibparam.xml is not its to replace: a symbolic
# link to a file that is no settings file, a dangling link and a link loop
# are left as they are, a read-only program folder gets nothing; each time
# a German message says why and the exit code is 1. A link to a settings
# file is followed, and stays a link.
source "$(dirname "$0")/kitprobe_lib.bash"

kp_tempdir drives
mkdir -p "$drives/opt/jdk/bin" && printf '#!/bin/sh\n' > "$drives/opt/jdk/bin/javac" \
  && chmod 755 "$drives/opt/jdk/bin/javac"

# kp_message_after_ok <shot> <dir> [VAR=value ...]: "&Ja", OK in the result,
# then waits for the message box (a second window named Kitprobe besides the
# progress window), takes a screenshot if asked, answers it and waits for
# the end. Sets KP_RC.
kp_message_after_ok() {
  local shot=$1 dir=$2; shift 2
  kp_to_result "$dir" KIB_KITPROBE_TEST_DRIVES="$drives" "$@"
  kp_key "$KP_WIN" Return
  # The message box and the progress window share the name; the box is
  # made last, so its X id is the higher one.
  local end=$((SECONDS + 30)) id= shown
  while [ -z "$id" ] && [ $SECONDS -le $end ]; do
    shown=$(xdotool search --onlyvisible --name '^Kitprobe$' 2>/dev/null | sort -n)
    if [ "$(wc -l <<<"$shown")" -ge 2 ]; then
      id=$(tail -1 <<<"$shown")
    else
      kill -0 "$KP_PID" 2>/dev/null || fail "kitprobe ended without a message"
      sleep 0.1
    fi
  done
  [ -n "$id" ] || fail "no message box within 30s"
  kp_shot "kitprobe-message-$shot"
  kp_key "$id" Return
  kp_wait_exit 30
}

echo "== a link to a file that is no settings file"
kp_tempdir work
printf 'root:x:0:0:root:/root:/bin/bash\n' > "$work/passwd"
cp "$work/passwd" "$work/passwd.before"
ln -s passwd "$work/kibparam.xml"
kp_message_after_ok passwd "$work"
[ "$KP_RC" = 1 ] || fail "exit code $KP_RC, not 1"
cmp -s "$work/passwd" "$work/passwd.before" || fail "the link's target was written"
[ -L "$work/kibparam.xml" ] || fail "the link was replaced"
[ "$(ls "$work")" = "$(printf 'kibparam.xml\npasswd\npasswd.before')" ] || fail "files appeared: $(ls "$work")"

echo "== a dangling link and a link loop"
rm "$work/kibparam.xml"
ln -s gone.xml "$work/kibparam.xml"
kp_message_after_ok dangling "$work"
[ "$KP_RC" = 1 ] || fail "dangling: exit code $KP_RC, not 1"
[ -e "$work/gone.xml" ] && fail "the dangling link's target was created"
rm "$work/kibparam.xml"
ln -s loop.xml "$work/kibparam.xml"; ln -s kibparam.xml "$work/loop.xml"
kp_message_after_ok loop "$work"
[ "$KP_RC" = 1 ] || fail "loop: exit code $KP_RC, not 1"
[ -L "$work/kibparam.xml" ] && [ -L "$work/loop.xml" ] || fail "the loop was changed"

echo "== a link to a settings file is followed"
kp_tempdir shared
"$KIBPARAM_TOOL" write "$shared/real.xml" || fail "helper could not write kibparam.xml"
cp "$shared/real.xml" "$shared/old.xml"
kp_tempdir linked
ln -s "$shared/real.xml" "$linked/kibparam.xml"
kp_to_result "$linked" KIB_KITPROBE_TEST_DRIVES="$drives"
kp_key "$KP_WIN" Return
kp_wait_exit 30
[ "$KP_RC" = 0 ] || fail "exit code $KP_RC"
[ -L "$linked/kibparam.xml" ] || fail "the link was replaced by a file"
kp_check_update "$shared/old.xml" "$shared/real.xml" "$drives/opt/jdk/bin/javac" "" "" ""

echo "== a read-only program folder"
if ! setpriv --reuid=65534 --regid=65534 --clear-groups true 2>/dev/null; then
  echo "cannot run as nobody here: read-only folder not checked"
  echo "PASS"
  exit 0
fi
kp_tempdir ro
"$KIBPARAM_TOOL" write "$ro/kibparam.xml" || fail "helper could not write kibparam.xml"
chmod 755 "$ro" "$drives"; chmod 644 "$ro/kibparam.xml"
cp "$ro/kibparam.xml" "$work/ro-before.xml"
auth=$work/xauth; cp "${XAUTHORITY:-$HOME/.Xauthority}" "$auth" && chmod 644 "$auth"
mkdir -p "$work/home" && chmod 777 "$work/home" "$work"
KP_RUNNER="setpriv --reuid=65534 --regid=65534 --clear-groups"
kp_message_after_ok readonly "$ro" HOME="$work/home" XAUTHORITY="$auth"
KP_RUNNER=
[ "$KP_RC" = 1 ] || fail "read-only folder: exit code $KP_RC, not 1"
cmp -s "$ro/kibparam.xml" "$work/ro-before.xml" || fail "kibparam.xml changed"
[ "$(ls -A "$ro")" = kibparam.xml ] || fail "files appeared: $(ls -A "$ro")"

echo "PASS"
