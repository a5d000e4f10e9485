#!/usr/bin/env bash
# The real kib with JDK 17 in its settings, in a folder whose name holds
# blanks and shell syntax: Ctrl+F5 on a Hello program compiles it and runs
# it captured (the program leaves a marker with its folder); a second program
# that waits on its input is ended when kib quits.
set -euo pipefail

source "$(dirname "$0")/kib_lib.bash"
jdk=/usr/lib/jvm/java-17-openjdk-amd64
[ -x "$jdk/bin/javac" ] || { echo "no JDK at $jdk"; exit 1; }

folder="$work/src dir \$(touch pwned) \`touch pwned2\`; x"
mkdir -p "$folder"

# Settings: the defaults with the JDK's tools, captured output, no splash.
write_jdk_settings "$jdk"
grep -q "<PATH>$jdk/bin/javac</PATH>" "$work/prog/kibparam.xml" || { echo "settings not written"; exit 1; }

cat > "$folder/Hello.java" <<'EOF'
public class Hello {
    public static void main(String[] args) throws Exception {
        System.out.println("Hello from Kib");
        java.nio.file.Files.writeString(java.nio.file.Path.of("ran.txt"),
            "ran in " + System.getProperty("user.dir") + "\n");
    }
}
EOF
cat > "$folder/Waiter.java" <<'EOF'
public class Waiter {
    public static void main(String[] args) throws Exception {
        java.nio.file.Files.writeString(java.nio.file.Path.of("waiter.pid"),
            Long.toString(ProcessHandle.current().pid()));
        System.out.println("waiting");
        System.in.read();
    }
}
EOF

start_kib "$folder/Hello.java"
main=$(wait_window '^Kib - \[Hello.java\]') || fail "main window did not appear"
sleep 0.5

# Ctrl+F5: compile, then run captured.
point_at "$main" 500 200
xdotool click 1
xdotool key --clearmodifiers ctrl+F5
wait_file "$folder/ran.txt" || fail "the program did not run after the compile"
[ -f "$folder/Hello.class" ] || fail "no class file"
[ "$(cat "$folder/ran.txt")" = "ran in $folder" ] || fail "ran in the wrong folder: $(cat "$folder/ran.txt")"
sleep 0.5
[ -n "${KIB_E2E_SHOTS:-}" ] && import -window root "$KIB_E2E_SHOTS/e2e-compile-run.png"

# A program waiting on its input, started the same way, ends with kib.
xdotool key --clearmodifiers ctrl+o
dlg=$(wait_window '^Öffnen$') || fail "open dialog did not appear"
point_at "$dlg" 100 100
sleep 0.3
xdotool type --delay 15 "$folder/Waiter.java"
sleep 0.2
xdotool key Return
main=$(wait_window '^Kib - \[Waiter.java\]') || fail "Waiter.java not opened"
point_at "$main" 500 200
xdotool click 1
xdotool key --clearmodifiers ctrl+F5
wait_file "$folder/waiter.pid" || fail "the waiting program did not start"
waiter=$(cat "$folder/waiter.pid")
kill -0 "$waiter" 2>/dev/null || fail "the waiting program is not running"

xdotool key --clearmodifiers alt+d
sleep 0.4
xdotool key b
wait_exit || fail "kib did not end after Beenden"
for _ in $(seq 1 50); do
    kill -0 "$waiter" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$waiter" 2>/dev/null && { kill -9 "$waiter"; fail "the waiting program outlived kib"; }

for canary in pwned pwned2; do
    [ -e "$folder/$canary" ] || [ -e "$work/$canary" ] || [ -e "$work/prog/$canary" ] && fail "$canary was executed"
done
echo "kib compile and run: 1 passed, 0 failed"
