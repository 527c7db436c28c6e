#!/usr/bin/env bash
# Installs the build tree into a temporary prefix (cmake --install) and checks
# one aspect of what the desktop gets:
#   files     exactly the expected files, icons of their stated sizes
#   desktop   the desktop entry passes desktop-file-validate
#   metainfo  the AppStream metainfo passes appstreamcli, with the tree around it
#   mime      update-mime-database accepts the results file type
# Exit 77 (skipped) when the checking tool is not installed.
set -euo pipefail
build=$1
mode=$2

need() {
  if ! command -v "$1" >/dev/null 2>&1; then
    echo "SKIP: $1 is not installed"
    exit 77
  fi
}

case "$mode" in
  files) need identify ;;
  desktop) need desktop-file-validate ;;
  metainfo) need appstreamcli ;;
  mime) need update-mime-database ;;
  *) echo "unknown mode $mode" >&2; exit 2 ;;
esac

prefix=$(mktemp -d /tmp/orvane-install-XXXXXX)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

app=org.orvane.Orvane
sizes=(16 22 24 32 48 64 128 256)

case "$mode" in
  files)
    expected=(
      bin/orvane
      bin/orvane-tool
      "share/applications/$app.desktop"
      "share/metainfo/$app.metainfo.xml"
      "share/mime/packages/$app.xml"
      share/man/man1/orvane.1
      share/man/man1/orvane-tool.1
    )
    for size in "${sizes[@]}"; do
      expected+=("share/icons/hicolor/${size}x${size}/apps/$app.png")
    done
    diff -u <(printf '%s\n' "${expected[@]}" | sort) <(cd "$prefix" && find . -type f | sed 's|^\./||' | sort)
    for program in bin/orvane bin/orvane-tool; do
      [ -x "$prefix/$program" ] || { echo "$program is not executable" >&2; exit 1; }
    done
    for size in "${sizes[@]}"; do
      actual=$(identify -format '%wx%h' "$prefix/share/icons/hicolor/${size}x${size}/apps/$app.png")
      [ "$actual" = "${size}x${size}" ] || { echo "icon ${size}x${size} is $actual" >&2; exit 1; }
    done
    # The entry's icon and program are the installed ones.
    grep -qx "Icon=$app" "$prefix/share/applications/$app.desktop"
    grep -qx "TryExec=orvane" "$prefix/share/applications/$app.desktop"
    ;;
  desktop)
    desktop-file-validate "$prefix/share/applications/$app.desktop"
    # Every type the program opens is offered, the results file among them.
    mimes=$(sed -n 's/^MimeType=//p' "$prefix/share/applications/$app.desktop")
    for type in image/bmp image/jpeg image/png image/gif image/tiff application/x-orvane-results; do
      case ";$mimes" in *";$type;"*) ;; *) echo "MimeType lacks $type" >&2; exit 1 ;; esac
    done
    ;;
  metainfo)
    appstreamcli validate --no-net "$prefix/share/metainfo/$app.metainfo.xml"
    # The tree check also finds the desktop entry the metainfo launches.
    appstreamcli validate-tree --no-net "$prefix"
    ;;
  mime)
    update-mime-database "$prefix/share/mime"
    grep -q 'application/x-orvane-results' "$prefix/share/mime/types"
    grep -q 'x-orvane-results' "$prefix/share/mime/globs2"
    ;;
esac
echo "OK: $mode"
