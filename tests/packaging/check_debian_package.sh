#!/usr/bin/env bash
# Makes the Debian package from a built build folder and checks it as Debian
# does: lintian finds no error and no warning, dpkg -c lists what a user and the
# system look for, and appstreamcli accepts the AppStream metadata.
#   check_debian_package.sh BUILD_DIR [PACKAGE.deb]
# With PACKAGE.deb given, that package is checked instead of making one.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ $# -ge 2 ]; then
  deb=$2
else
  prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")
  if [ "$prefix" != /usr ]; then
    echo "FAIL: $build is configured for $prefix; a Debian package installs below /usr" \
         "(configure with -DCMAKE_INSTALL_PREFIX=/usr, as scripts/build.sh does)" >&2
    exit 1
  fi
  # The package goes to a folder of its own, so the build folder's is left alone.
  if ! (cd "$build" && cpack -G DEB -B "$work/package" >"$work/cpack.log" 2>&1); then
    cat "$work/cpack.log" >&2
    echo "FAIL: cpack could not make the package" >&2
    exit 1
  fi
  deb=$(ls "$work"/package/tavel-nfc_*.deb)
fi
echo "package: $deb"

status=0
dpkg -c "$deb" | awk '{print $NF}' >"$work/contents"
for path in ./usr/bin/tavel-nfc-config ./usr/bin/tavel-nfc ./usr/bin/tavel-devsim \
            ./usr/share/man/man1/tavel-nfc.1.gz ./usr/share/man/man1/tavel-nfc-config.1.gz \
            ./usr/share/man/man1/tavel-devsim.1.gz \
            ./usr/share/doc/tavel-nfc/copyright ./usr/share/doc/tavel-nfc/changelog.gz \
            ./usr/share/doc/tavel-nfc/manual/index.html \
            ./usr/share/applications/tavel-nfc-config.desktop ./etc/tavel-nfc/tavel-nfc.conf; do
  if ! grep -qxF "$path" "$work/contents"; then
    echo "FAIL: the package does not hold $path" >&2
    status=1
  fi
done
if ! grep -q '^\./usr/share/doc/tavel-nfc/manual/pictures/.*\.png$' "$work/contents"; then
  echo "FAIL: the package's manual has no pictures" >&2
  status=1
fi
metainfo=$(grep '^\./usr/share/metainfo/.*\.metainfo\.xml$' "$work/contents" || true)
if [ -z "$metainfo" ]; then
  echo "FAIL: the package holds no AppStream metadata in /usr/share/metainfo" >&2
  status=1
else
  dpkg-deb -x "$deb" "$work/root"
  if ! appstreamcli validate --no-net "$work/root/$metainfo"; then
    echo "FAIL: appstreamcli does not accept $metainfo" >&2
    status=1
  fi
  desktop_id=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$work/root/$metainfo")
  if ! grep -qxF "./usr/share/applications/$desktop_id" "$work/contents"; then
    echo "FAIL: the metadata names the desktop entry '$desktop_id', which the package does not hold" >&2
    status=1
  fi
fi

# Errors and warnings fail; overrides in the package each carry their reason.
if ! lintian --fail-on error,warning --tag-display-limit 0 "$deb"; then
  echo "FAIL: lintian reports errors or warnings" >&2
  status=1
fi
if [ $status -eq 0 ]; then
  echo "PASS: lintian clean, every file in place, AppStream metadata valid"
fi
exit $status
