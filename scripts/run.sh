#!/usr/bin/env bash
# Sets up the machine, builds the programs (optimised, into build-release/) and
# starts the desktop program (arguments are passed on; "qavrelo" as the first one
# switches expert mode on). The tests are built and run by scripts/test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build-release.sh
# The user manual beside the programs, where the Help window's "user manual" finds
# it, with pictures of this build's windows (taken by window_pictures).
ninja -C build-release manual
bin=build-release/bin
if [ "$(uname -s)" = Linux ] && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] \
   && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found: start the program from a desktop session, or run it without a screen with" >&2
  echo "  QT_QPA_PLATFORM=offscreen $bin/tavel-nfc-config" >&2
  echo "Pictures of every window, without a display: QT_QPA_PLATFORM=offscreen $bin/window_pictures (the picture tool; PNGs go to build-release/screenshots/)" >&2
  echo "The user manual: $bin/manual/index.html" >&2
  exit 1
fi
# Without an EnOcean stick on this machine, the device simulator stands in for the
# stick and the handheld programmer: the radio link window then lists its port
# (opened with "Open port", paired with "Send pairing request").
port_args=()
if [ -x "$bin/tavel-devsim" ] && ! "$bin/tavel-nfc" ports >/dev/null 2>&1; then
  stick_link="${TMPDIR:-/tmp}/tavel-devsim-stick-$$"
  "$bin/tavel-devsim" --link "$stick_link" >/dev/null &
  devsim_pid=$!
  trap 'kill "$devsim_pid" 2>/dev/null || true' EXIT
  for _ in $(seq 50); do [ -e "$stick_link" ] && break; sleep 0.1; done
  echo "No EnOcean stick found: the simulated stick and programmer (tavel-devsim) are on $stick_link" >&2
  port_args=(--port "$stick_link")
fi
"$bin/tavel-nfc-config" ${port_args[@]+"${port_args[@]}"} "$@"
