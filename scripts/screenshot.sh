#!/usr/bin/env bash
# Starts Orvane on a virtual X screen with a throw-away home folder, waits for
# its window, saves a picture of the screen and ends the program.
#
#   scripts/screenshot.sh [--demo] [ARGS...]
#
# ARGS go to the program: an image file opens the main window frozen on it;
# without one the "Search camera ..." dialog shows. The picture goes to
# $SCREENSHOT (default /tmp/orvane-screenshot.png). $ORVANE_BINARY picks the
# program (default build/src/app/orvane, built when missing); $SCREENSHOT_DELAY
# waits that many more seconds after the window appears; $LANG is passed on
# (ja_JP.UTF-8 shows the Japanese interface); $SCREENSHOT_SETTINGS names a
# settings file to start with (copied as the throw-away Orvane.ini, e.g. one
# with EnableAllTools=1).
set -euo pipefail
cd "$(dirname "$0")/.."

output=${SCREENSHOT:-/tmp/orvane-screenshot.png}
binary=${ORVANE_BINARY:-build/src/app/orvane}
delay=${SCREENSHOT_DELAY:-1}

if [ ! -x "$binary" ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build --parallel "$(nproc)" --target orvane
fi
binary=$(realpath "$binary")

work=$(mktemp -d /tmp/orvane-screenshot-XXXXXX)
display_number=99
while [ -e "/tmp/.X${display_number}-lock" ]; do
  display_number=$((display_number + 1))
done
export DISPLAY=":${display_number}"

xvfb_pid=""
app_pid=""
cleanup() {
  if [ -n "$app_pid" ] && kill -0 "$app_pid" 2>/dev/null; then
    kill -TERM "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 50); do
  xwininfo -root >/dev/null 2>&1 && break
  sleep 0.2
done

mkdir -p "$work/home" "$work/config/QMC" "$work/runtime"
if [ -n "${SCREENSHOT_SETTINGS:-}" ]; then
  cp "$SCREENSHOT_SETTINGS" "$work/config/QMC/Orvane.ini"
fi
chmod 700 "$work/runtime"
HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" \
  QT_QPA_PLATFORM=xcb "$binary" "$@" >"$work/orvane.log" 2>&1 &
app_pid=$!

# Wait up to ten seconds for a window of the program to be mapped.
shown=0
for _ in $(seq 1 50); do
  if xwininfo -root -tree 2>/dev/null | grep -Eq '"(Orvane|Search camera)'; then
    shown=1
    break
  fi
  if ! kill -0 "$app_pid" 2>/dev/null; then
    break
  fi
  sleep 0.2
done
if [ "$shown" -ne 1 ]; then
  echo "screenshot: no window appeared" >&2
  cat "$work/orvane.log" >&2
  exit 1
fi
sleep "$delay"

import -window root "$output"
echo "screenshot: $output"
