#!/usr/bin/env bash
# The real kib with the default run settings (output not captured, console
# kept open) on a PATH whose only terminal is the real xterm, and no
# $TERMINAL: Ctrl+F5 compiles a program and runs it in an xterm window, where
# it reads a line typed into that window; "exit" closes the console. Then
# "MSDOS &Eingabeaufforderung" opens an xterm in kib's own folder.
set -euo pipefail

source "$(dirname "$0")/kib_lib.bash"
jdk=/usr/lib/jvm/java-17-openjdk-amd64
[ -x "$jdk/bin/javac" ] || { echo "no JDK at $jdk"; exit 1; }
xterm=$(command -v xterm) || { echo "xterm missing (scripts/setup.sh installs it)"; exit 1; }
xterm=$(readlink -f "$xterm")

folder="$work/src dir \$(touch pwned); x"
mkdir -p "$folder" "$work/bin"
ln -s "$xterm" "$work/bin/xterm"

# Settings: the defaults with the JDK's tools, no splash.
awk -v javac="$jdk/bin/javac" -v java="$jdk/bin/java" '
    /^<COMPILER>/ { sec = "c" } /^<INTERPRETER>/ { sec = "i" } /^<EXTRAS>/ { sec = "" }
    /^<PATH><\/PATH>/ && sec == "c" { sub(/<PATH><\/PATH>/, "<PATH>" javac "</PATH>") }
    /^<PATH><\/PATH>/ && sec == "i" { sub(/<PATH><\/PATH>/, "<PATH>" java "</PATH>") }
    /^<SHOWSPLASH>/ { sub(/>1</, ">0<") }
    /^<REOPENFILES>/ { sub(/>1</, ">0<") }
    { print }' "$src/tests/data/settings/kibparam_defaults.xml" > "$work/prog/kibparam.xml"
grep -q '<CAPTUREOUTPUT>0</CAPTUREOUTPUT>' "$work/prog/kibparam.xml" || { echo "not the default run settings"; exit 1; }
grep -q '<STOPAFTERRUN>1</STOPAFTERRUN>' "$work/prog/kibparam.xml" || { echo "not the default run settings"; exit 1; }

cat > "$folder/Hallo.java" <<'EOF'
import java.nio.file.*;

public class Hallo {
    public static void main(String[] args) throws Exception {
        String tty = Files.readSymbolicLink(Path.of("/proc/self/fd/0")).toString();
        Files.writeString(Path.of("started.txt"), tty + "\n");
        System.out.println("Hallo aus Kib, bitte eine Zeile eingeben:");
        String line = new java.io.BufferedReader(new java.io.InputStreamReader(System.in)).readLine();
        Files.writeString(Path.of("ran.txt"), "console=" + (System.console() != null) + " tty=" + tty
            + " input=" + line + " dir=" + System.getProperty("user.dir") + "\n");
    }
}
EOF

# Kib's terminal lookup: no $TERMINAL, no x-terminal-emulator; xterm last.
unset TERMINAL

xterm_windows() { xdotool search --onlyvisible --class '^xterm$' 2>/dev/null || true; }
# Waits for a visible xterm window not in $1; prints its id.
wait_new_xterm() {
    for _ in $(seq 1 150); do
        for id in $(xterm_windows); do
            grep -qx "$id" <<<"$1" || { echo "$id"; return 0; }
        done
        sleep 0.1
    done
    return 1
}
# The process of a window, checked to be the real xterm.
xterm_pid() {
    local p
    p=$(xdotool getwindowpid "$1") || return 1
    [ "$(readlink -f "/proc/$p/exe")" = "$xterm" ] || return 1
    echo "$p"
}

PATH="$work/bin" SHELL=/bin/sh start_kib "$folder/Hallo.java"
main=$(wait_window '^Kib - \[Hallo.java\]') || fail "main window did not appear"
sleep 0.5
before=$(xterm_windows)

point_at "$main" 500 200
xdotool click 1
xdotool key --clearmodifiers ctrl+F5
wait_file "$folder/started.txt" || fail "the program did not start in a terminal after the compile"
[[ "$(cat "$folder/started.txt")" == /dev/pts/* ]] || fail "the program's input is no terminal: $(cat "$folder/started.txt")"
term=$(wait_new_xterm "$before") || fail "no xterm window appeared"
term_pid=$(xterm_pid "$term") || fail "the window is not the real xterm"
sleep 1
[ -n "${KIB_E2E_SHOTS:-}" ] && import -window root "$KIB_E2E_SHOTS/e2e-terminal-run.png"

# What is typed into the xterm window reaches the program.
point_at "$term" 100 60
xdotool type --delay 20 "aus dem Terminal"
xdotool key Return
wait_file "$folder/ran.txt" || fail "the program did not get the line typed into the xterm"
expected="console=true tty=$(cat "$folder/started.txt") input=aus dem Terminal dir=$folder"
[ "$(cat "$folder/ran.txt")" = "$expected" ] || fail "ran as: $(cat "$folder/ran.txt"), expected: $expected"

# The console stays open with a shell; "exit" closes it.
sleep 0.5
kill -0 "$term_pid" 2>/dev/null || fail "the console closed although it is to stay open"
point_at "$term" 100 60
xdotool type --delay 20 "exit"
xdotool key Return
for _ in $(seq 1 100); do kill -0 "$term_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$term_pid" 2>/dev/null && fail "the console did not close on exit"

# "MSDOS &Eingabeaufforderung": an xterm in kib's own current folder.
before=$(xterm_windows)
point_at "$main" 500 200
xdotool key --clearmodifiers alt+j
sleep 0.4
xdotool key e
console=$(wait_new_xterm "$before") || fail "the console command opened no xterm"
console_pid=$(xterm_pid "$console") || fail "the console window is not the real xterm"
[ "$(readlink -f "/proc/$console_pid/cwd")" = "$(readlink -f "$work")" ] ||
    fail "the console opened in $(readlink -f "/proc/$console_pid/cwd")"
kill "$console_pid"

for canary in pwned; do
    [ -e "$folder/$canary" ] || [ -e "$work/$canary" ] || [ -e "$work/src dir /$canary" ] && fail "$canary was executed"
done
echo "kib terminal run: 1 passed, 0 failed"
