#!/usr/bin/env bash
# Installs the Debian packages the project builds and tests with (help2man makes
# the manual pages; man-db, dpkg-dev, file, lintian and appstream check the
# manual pages and the Debian package).
# Does nothing when every package is already there.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libgl-dev
  libsqlite3-dev libgtest-dev
  libpq-dev postgresql
  xvfb xauth
  poppler-utils
  help2man man-db
  dpkg-dev file lintian appstream
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
