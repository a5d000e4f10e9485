#!/usr/bin/env bash
# Runs kib under its own Xvfb, waits for the main window and writes PNGs:
#   scripts/screenshot.sh [build dir] [output dir]
# main.png: two documents, both bars, the status bar; menu.png: the document
# tabs' context menu; fullscreen.png: full-screen mode.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
out=${2:-screenshots}
mkdir -p "$out"
out=$(cd "$out" && pwd)
work=$(mktemp -d /tmp/kib-shot.XXXXXX)
display=""
xvfb_pid=""
kib_pid=""
cleanup() {
    [ -n "$kib_pid" ] && kill "$kib_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"

mkdir -p "$work/prog" "$work/cfg"
ln -s "$PWD/$build/app/kib" "$work/prog/kib"
export XDG_CONFIG_HOME="$work/cfg"
printf '<KIBPARAMS>\r\n<GUI>\r\n<STARTUP>\r\n<REOPENFILES>1</REOPENFILES>\r\n<SHOWSPLASH>0</SHOWSPLASH>\r\n</STARTUP>\r\n</GUI>\r\n</KIBPARAMS>\r\n' > "$work/prog/kibparam.xml"
cp examples/Hallo.java "$work/Hallo.java"
# The two documents come back as from a previous run.
printf '<KIBFILES>\r\n<COUNT>2</COUNT>\r\n<FILE1>%s</FILE1>\r\n<FILE2>%s</FILE2>\r\n</KIBFILES>\r\n' \
    "$work/Rechner.java" "$work/Hallo.java" > "$work/prog/kibfiles.xml"
cat > "$work/Rechner.java" <<'JAVA'
public class Rechner
{
	private int summe;

	public int addiere(int wert)
	{
		summe += wert;	// Tabs werden erweitert
		return summe;
	}
}
JAVA
"$work/prog/kib" >/dev/null 2>&1 &
kib_pid=$!
wid=""
for _ in $(seq 1 100); do
    wid=$(xdotool search --onlyvisible --name '^Kib' 2>/dev/null | head -1 || true)
    [ -n "$wid" ] && break
    sleep 0.1
done
[ -n "$wid" ] || { echo "no window"; exit 1; }
xdotool windowsize "$wid" 1280 900
xdotool windowmove "$wid" 0 0
sleep 0.5
xdotool mousemove 700 200 click 1
xdotool key --clearmodifiers ctrl+End
xdotool type --delay 10 "// geaendert"
sleep 0.5
import -window root "$out/main.png"

# The context menu of the document tabs.
# The tab strip is at the bottom of the document area, above the output bar.
xdotool mousemove 290 "${KIB_TAB_Y:-690}" click 3
sleep 0.8
import -window root "$out/menu.png"
xdotool key Escape
sleep 0.3

xdotool mousemove 700 200 click 1
xdotool key --clearmodifiers ctrl+s
sleep 0.3
# Full screen through its tool bar button.
xdotool mousemove "${KIB_FULLSCREEN_X:-593}" "${KIB_FULLSCREEN_Y:-45}" click 1
sleep 1
import -window root "$out/fullscreen.png"
xdotool mousemove 700 200
xdotool key Escape
sleep 0.5
import -window root "$out/after-fullscreen.png"
echo "screenshots in $out"
