#!/usr/bin/env bash
# Installs what is missing, builds Kib and starts it on the example file.
# When the program folder has no kibparam.xml yet, the four JDK keys are
# seeded from the JDK whose javac is found (JAVA_HOME, then PATH).
set -euo pipefail
cd "$(dirname "$0")"

scripts/setup.sh
build=${KIB_BUILD_DIR:-build/default}
if [ "$build" = build/default ]; then
    cmake --preset default >/dev/null
else
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j2 --target kib

prog="$build/app"
param="$prog/kibparam.xml"
if [ ! -f "$param" ]; then
    javac=""
    if [ -n "${JAVA_HOME:-}" ] && [ -x "$JAVA_HOME/bin/javac" ]; then
        javac="$JAVA_HOME/bin/javac"
    elif command -v javac >/dev/null; then
        javac=$(readlink -f "$(command -v javac)")
    fi
    if [ -n "$javac" ]; then
        jdk=$(dirname "$(dirname "$javac")")
        java="$jdk/bin/java"
        av=""; [ -x "$jdk/bin/appletviewer" ] && av="$jdk/bin/appletviewer"
        docs=""; [ -d "$jdk/docs" ] && docs="$jdk/docs"
        # The settings-file layout: leaves sorted before elements, CR LF.
        printf '<KIBPARAMS>\r\n<JDK>\r\n<COMPILER>\r\n<PATH>%s</PATH>\r\n</COMPILER>\r\n<EXTRAS>\r\n<AVPATH>%s</AVPATH>\r\n<DOCUPATH>%s</DOCUPATH>\r\n</EXTRAS>\r\n<INTERPRETER>\r\n<PATH>%s</PATH>\r\n</INTERPRETER>\r\n</JDK>\r\n</KIBPARAMS>\r\n' \
            "$javac" "$av" "$docs" "$java" > "$param"
        echo "run: JDK $jdk written to $param"
    else
        echo "run: no javac found; set the JDK in Optionen > Einstellungen"
    fi
fi

exec "$prog/kib" "$PWD/examples/Hallo.java"
