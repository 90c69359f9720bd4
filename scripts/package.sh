#!/usr/bin/env bash
# Builds the Debian package: the three programs optimised and without sanitizers
# (like the run command's build, but in build-package/ and installed below /usr),
# with their manual pages and the HTML user manual, then cpack -G DEB. The package
# lands in build-package/ as tavel-nfc_1.4_<arch>.deb and is checked with lintian
# (no error, no warning), dpkg -c and appstreamcli before this script says so.
#
# Install it with   sudo apt install ./build-package/tavel-nfc_1.4_amd64.deb
# Remove it with    sudo apt remove tavel-nfc   (purge also drops /etc/tavel-nfc/)
# Neither touches the user's own files: settings, summaries, record databases and
# the recently-used list live only in the home folder (~/.local/share and ~/.config).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
# setup.sh brings dpkg-shlibdeps (dpkg-dev), which finds the packages of the
# libraries the programs link, and lintian, help2man and appstreamcli.
# Installing does not build every target (benchmarks, fuzz replay): only the programs.
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DTAVEL_SANITIZE=OFF -DTAVEL_BUILD_TESTS=OFF -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
targets=(tavel-nfc-config tavel-nfc)
if ninja -C build-package -t query tavel-devsim >/dev/null 2>&1; then
  targets+=(tavel-devsim)
fi
# The manual's pictures are taken by window_pictures; the manual pages are made
# from the programs' own help.
targets+=(manual manpages changelog)
ninja -C build-package "${targets[@]}"
rm -f build-package/tavel-nfc_*.deb
(cd build-package && cpack -G DEB)
deb=$(ls build-package/tavel-nfc_*.deb)
dpkg-deb --field "$deb" Package Version Architecture Depends
./tests/packaging/check_debian_package.sh build-package "$deb"
echo "package: $deb"
