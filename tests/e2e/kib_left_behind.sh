#!/usr/bin/env bash
# The real kib with JDK 17: Ctrl+F5 runs a Java program that starts two
# processes (one sharing its output, one on its own) and returns; they end
# with the run. A second such program that goes on running ends, with what
# it started, when kib quits through Beenden.
set -euo pipefail

source "$(dirname "$0")/kib_lib.bash"
jdk=/usr/lib/jvm/java-17-openjdk-amd64
[ -x "$jdk/bin/javac" ] || { echo "no JDK at $jdk"; exit 1; }

folder="$work/src"
mkdir -p "$folder"
write_jdk_settings "$jdk"

# A program that starts two sleeps and writes its pid and theirs; $2 says
# whether it then waits.
forker() {
    cat > "$folder/$1.java" <<EOF
public class $1 {
    public static void main(String[] args) throws Exception {
        Process shared = new ProcessBuilder("sleep", "300").inheritIO().start();
        Process own = new ProcessBuilder("sleep", "300")
            .redirectOutput(ProcessBuilder.Redirect.DISCARD)
            .redirectError(ProcessBuilder.Redirect.DISCARD).start();
        java.nio.file.Files.writeString(java.nio.file.Path.of("$1.pids"),
            ProcessHandle.current().pid() + "\n" + shared.pid() + "\n" + own.pid() + "\n");
        System.out.println("started");
        if ($2) Thread.sleep(300000);
    }
}
EOF
}
forker Returner false
forker Stayer true

all_end_within() { # seconds, pids...
    local tries=$(( $1 * 10 )); shift
    for _ in $(seq 1 "$tries"); do
        local left=0
        for p in "$@"; do ended "$p" || left=1; done
        [ "$left" = 0 ] && return 0
        sleep 0.1
    done
    return 1
}
kill_left() { for p in "$@"; do ended "$p" || kill -9 "$p" 2>/dev/null || true; done; }
read_pids() { # file, then the array name
    wait_file "$1" || return 1
    sleep 0.3
    mapfile -t "$2" < "$1"
}

start_kib "$folder/Returner.java"
main=$(wait_window '^Kib - \[Returner.java\]') || fail "main window did not appear"
sleep 0.5
point_at "$main" 500 200
xdotool click 1
xdotool key --clearmodifiers ctrl+F5
read_pids "$folder/Returner.pids" returned || fail "the program did not run after the compile"
[ "${#returned[@]}" = 3 ] || fail "expected three pids, got: ${returned[*]}"
all_end_within 15 "${returned[@]}" || { kill_left "${returned[@]}"; fail "what the program left behind outlived its run"; }

xdotool key --clearmodifiers ctrl+o
dlg=$(wait_window '^Öffnen$') || fail "open dialog did not appear"
point_at "$dlg" 100 100
sleep 0.3
xdotool type --delay 15 "$folder/Stayer.java"
sleep 0.2
xdotool key Return
main=$(wait_window '^Kib - \[Stayer.java\]') || fail "Stayer.java not opened"
point_at "$main" 500 200
xdotool click 1
xdotool key --clearmodifiers ctrl+F5
read_pids "$folder/Stayer.pids" stayed || fail "the staying program did not start"
[ "${#stayed[@]}" = 3 ] || fail "expected three pids, got: ${stayed[*]}"
for p in "${stayed[@]}"; do ended "$p" && fail "$p is not running while the program runs"; done

xdotool key --clearmodifiers alt+d
sleep 0.4
xdotool key b
wait_exit || fail "kib did not end after Beenden"
all_end_within 10 "${stayed[@]}" || { kill_left "${stayed[@]}"; fail "the program or what it started outlived kib"; }
echo "kib left-behind processes: 1 passed, 0 failed"
