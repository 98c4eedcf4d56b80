#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the program need.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail

# The Debian package: dpkg-shlibdeps (dpkg-dev) and file compute its dependencies; its menu
# entry and metainfo are validated with desktop-file-utils and appstream; librsvg2-bin renders
# the icon (tools/make_icon.sh); xrdb (x11-xserver-utils) sets the X display's dpi in a test;
# python3-xlib drags a word list onto the window in a test. Wine's windows are maximized and
# framed by a window manager (openbox), as on any desktop.
#
# Speech: the program talks to speech-dispatcher itself. Qt's speech-dispatcher engine
# (qt6-speech-speechd-plugin) is left out on purpose: once installed it becomes Qt's default
# engine, which lists every voice for seconds when created and blocks on a hung service.
packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-declarative-dev qt6-speech-dev
  qt6-speech-flite-plugin libqt6texttospeech6 qt6-qpa-plugins libgl-dev
  qt6-multimedia-dev libqt6multimedia6 flite1-dev
  speech-dispatcher speech-dispatcher-espeak-ng espeak-ng
  pulseaudio pulseaudio-utils libpulse-dev sox
  libbenchmark-dev clang libclang-rt-14-dev
  libchm-dev fp-utils
  fonts-wqy-microhei
  xvfb xauth xdotool imagemagick x11-utils x11-xserver-utils python3-xlib
  dpkg-dev file desktop-file-utils appstream librsvg2-bin
  xxd locales
  python3-pyatspi dbus-daemon # end-to-end tests: menus and controls found by name over AT-SPI, on a private bus
  g++-mingw-w64-x86-64 wine64 nsis openbox # the Windows program: cross-built, installer, run under Wine
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
  SUDO=""
  [[ $(id -u) -ne 0 ]] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
