#!/usr/bin/env bash
# Sets up the machine, builds, and starts the desktop program
# (arguments are passed on; "qavrelo" as the first one switches expert mode on).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh
if [ "$(uname -s)" = Linux ] && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] \
   && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found: start the program from a desktop session, or run it without a screen with" >&2
  echo "  QT_QPA_PLATFORM=offscreen build/bin/tavel-nfc-config" >&2
  echo "Pictures of the main window: build/bin/test_app_ui --gtest_filter='*Screenshots*' (written to build/screenshots/)" >&2
  exit 1
fi
exec build/bin/tavel-nfc-config "$@"
