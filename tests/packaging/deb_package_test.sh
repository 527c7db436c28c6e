#!/usr/bin/env bash
# Builds the Debian package from the build tree with CPack, checks its
# control data (dpkg-deb --info) and contents, unpacks it into a fresh root
# and runs the programs from there. Exit 77 (skipped) without cpack's DEB
# tools.
#   deb_package_test.sh BUILD_DIR
set -euo pipefail
build=$(realpath "$1")
for tool in cpack dpkg-deb dpkg-shlibdeps; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIP: $tool is not installed"
    exit 77
  fi
done

work=$(mktemp -d /tmp/orvane-deb-XXXXXX)
trap 'rm -rf "$work"' EXIT
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || {
  cat "$work/cpack.log" >&2
  exit 1
}
debs=("$work"/out/orvane_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "no package written" >&2; ls -R "$work/out" >&2; exit 1; }
deb=${debs[0]}

fail() { echo "$*" >&2; exit 1; }
info=$(dpkg-deb --info "$deb")
grep -q '^ Package: orvane$' <<<"$info" || fail "Package field: $info"
depends=$(sed -n 's/^ Depends: //p' <<<"$info")
# Shared libraries found by dpkg-shlibdeps, and what is loaded at run time.
for wanted in libqt6widgets6 libqt6gui6 libgstreamer1.0-0 libjpeg62-turbo libpng16-16 libtiff6 libgif7 \
  gstreamer1.0-plugins-good gstreamer1.0-plugins-base fonts-ipafont-gothic; do
  grep -qE "(^|, )$wanted( |,|$)" <<<"$depends" || fail "Depends lacks $wanted: $depends"
done

contents=$(dpkg-deb --contents "$deb" | awk '{print $NF}')
for path in ./usr/bin/orvane ./usr/bin/orvane-tool ./usr/share/applications/org.orvane.Orvane.desktop \
  ./usr/share/metainfo/org.orvane.Orvane.metainfo.xml ./usr/share/mime/packages/org.orvane.Orvane.xml \
  ./usr/share/man/man1/orvane.1 ./usr/share/man/man1/orvane-tool.1 \
  ./usr/share/icons/hicolor/256x256/apps/org.orvane.Orvane.png; do
  grep -qx -- "$path" <<<"$contents" || fail "package lacks $path"
done

root="$work/root"
dpkg-deb -x "$deb" "$root"
version=$(env -i PATH=/usr/bin:/bin LC_ALL=C "$root/usr/bin/orvane-tool" --version)
[ "$version" = "orvane-tool (Orvane) $(sed -n 's/^ Version: //p' <<<"$info")" ] || fail "orvane-tool --version: $version"
env -i PATH=/usr/bin:/bin LC_ALL=C "$root/usr/bin/orvane" --help | grep -q '^Usage: orvane' || fail "orvane --help"
echo "OK: $(basename "$deb")"
