#!/usr/bin/env bash
# The real kib with JDK 17: the first F9 compiles with the javac process and
# leaves a warm compile server behind (a JVM whose parent is kib); the next F9
# is answered by it. Killing kib with SIGKILL leaves no JVM behind.
set -euo pipefail

source "$(dirname "$0")/kib_lib.bash"
jdk=/usr/lib/jvm/java-17-openjdk-amd64
[ -x "$jdk/bin/javac" ] || { echo "no JDK at $jdk"; exit 1; }

folder="$work/src"
mkdir -p "$folder"
write_jdk_settings "$jdk"

cat > "$folder/Hello.java" <<'EOF2'
public class Hello {
    public static void main(String[] args) {
        System.out.println("Hello from Kib");
    }
}
EOF2


# The compile server among kib's children, or nothing.
server_of() {
    local p
    for p in $(pgrep -P "$1" 2>/dev/null || true); do
        tr '\0' ' ' < "/proc/$p/cmdline" 2>/dev/null | grep -q " KibCompileServer [0-9]" && { echo "$p"; return 0; }
    done
    return 0
}

start_kib "$folder/Hello.java"
main=$(wait_window '^Kib - \[Hello.java\]') || fail "main window did not appear"
sleep 0.5
point_at "$main" 500 200
xdotool click 1

xdotool key --clearmodifiers F9
wait_file "$folder/Hello.class" || fail "the first compile wrote no class file"

server=""
for _ in $(seq 1 600); do
    server=$(server_of "$pid")
    [ -n "$server" ] && break
    sleep 0.1
done
[ -n "$server" ] || fail "no compile server was started after the first compile"
[ -d "$XDG_CACHE_HOME/kib/compile-server" ] || fail "the server classes are not in the per-user cache"
heap=$(tr '\0' '\n' < "/proc/$server/cmdline" | grep -c '^-Xmx' || true)
[ "$heap" = 1 ] || fail "the server runs without a bounded heap"

# Wait until it has warmed up (it then has its own threads idle), compile again.
sleep 8
rm -f "$folder/Hello.class"
xdotool key --clearmodifiers F9
wait_file "$folder/Hello.class" || fail "the second compile wrote no class file"
[ "$(server_of "$pid")" = "$server" ] || fail "the server did not survive a compile"

# SIGKILL to kib: the server notices and ends.
kill -9 "$pid"
wait "$pid" 2>/dev/null || true
pid=""
for _ in $(seq 1 100); do
    ended "$server" && break
    sleep 0.1
done
if ! ended "$server"; then
    kill -9 "$server"
    fail "the compile server outlived kib killed with SIGKILL"
fi
echo "kib warm compiler: 1 passed, 0 failed"
