#!/usr/bin/env bash
# Installs the Debian packages Kib needs to build, test and run, if missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libwxgtk3.2-dev libcurl4-openssl-dev libcairo2-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth xdotool imagemagick
  # a font with CJK characters, so that wide characters show as themselves
  fonts-wqy-microhei
  openjdk-17-jdk-headless unzip locales
  # a window manager: the GUI tests maximise windows, which X alone ignores
  openbox
  # The terminal of the console runs when the desktop names none.
  xterm
  # German texts of the toolkit's own dialogs and buttons in every locale:
  # GTK's and GLib's catalogues, wxWidgets' catalogue; GTK's headers for the
  # tests that read the native dialogs' widgets.
  libgtk-3-common libglib2.0-data wx3.2-i18n libgtk-3-dev
  # printing tests read printed PDFs back and check their structure; the print
  # benchmark compares with enscript
  poppler-utils qpdf enscript
  # the window benchmark sends keys through XTest and watches repaints through
  # DAMAGE; its peers are a bare GtkTextView and a wxStyledTextCtrl (the
  # styled text control comes with libwxgtk3.2-dev); find in files is compared
  # with ripgrep; the text view hands its pixels to X through shared memory
  # (libxext-dev)
  libxtst-dev libxdamage-dev libxfixes-dev libxext-dev ripgrep
  # the explorer's compressed and encrypted colours are tested on btrfs and
  # encrypted ext4 volumes made on loop devices
  btrfs-progs e2fsprogs
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  if [ "$(id -u)" -eq 0 ]; then
    SUDO=()
  elif command -v sudo >/dev/null; then
    SUDO=(sudo)
  else
    echo "setup: these packages are missing and I am not root: ${missing[*]}" >&2
    exit 1
  fi
  "${SUDO[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${SUDO[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
  echo "setup: all packages present"
fi

# The corpus tests read real Java from a JDK's src.zip; fetch one when no
# installed JDK brings its sources.
have_sources=no
for z in /usr/lib/jvm/*/lib/src.zip; do
  [ -f "$z" ] && have_sources=yes && break
done
if [ "$have_sources" = no ] && [ "$(id -u)" -eq 0 ]; then
  echo "setup: installing openjdk-17-source for the corpus tests"
  apt-get update -qq || true
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends openjdk-17-source || true
fi

# Locale-dependent date and time tests need the German locale; Kib takes its
# message catalogue for the toolkit's texts.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  if [ "$(id -u)" -eq 0 ]; then
    sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen 2>/dev/null || true
    grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null || echo 'de_DE.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen >/dev/null 2>&1 || echo "setup: locale-gen failed (de_DE.UTF-8 tests may skip)"
  fi
fi
