#!/usr/bin/env bash
# The manual pages keep up with the programs: every option and command that
# a --help text names appears in the page, and the pages render without
# warnings when man is installed.
#   help_man_test.sh ORVANE ORVANE_TOOL DATA_DIR
set -euo pipefail
orvane=$1
tool=$2
data=$3
export LC_ALL=C QT_QPA_PLATFORM=offscreen

# The page's text with roff's escaped hyphens made plain.
page_text() {
  sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' "$1"
}

failures=0
check() { # page, help text source description, help text
  local page=$1 what=$2 help=$3 text word
  text=$(page_text "$page")
  for word in $(grep -oE -- '(^|[^a-zA-Z0-9-])--?[a-z][a-z-]*' <<<"$help" | grep -oE -- '--?[a-z][a-z-]*' | sort -u); do
    if ! grep -qF -- "$word" <<<"$text"; then
      echo "$(basename "$page") lacks $word of '$what'" >&2
      failures=$((failures + 1))
    fi
  done
}

check "$data/orvane.1" "orvane --help" "$("$orvane" --help)"
check "$data/orvane-tool.1" "orvane-tool --help" "$("$tool" --help)"
commands=$("$tool" --help | sed -n '/^Commands:/,/^$/p' | awk 'NF > 1 && $1 != "Commands:" {print $1}')
[ -n "$commands" ] || { echo "no commands in orvane-tool --help" >&2; exit 1; }
for command in $commands; do
  if ! page_text "$data/orvane-tool.1" | grep -qE "^\.B $command "; then
    echo "orvane-tool.1 has no entry for the command $command" >&2
    failures=$((failures + 1))
  fi
  check "$data/orvane-tool.1" "orvane-tool $command --help" "$("$tool" "$command" --help)"
done

if command -v man >/dev/null 2>&1; then
  for page in "$data/orvane.1" "$data/orvane-tool.1"; do
    warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null || true)
    if [ -n "$warnings" ]; then
      echo "$(basename "$page"): $warnings" >&2
      failures=$((failures + 1))
    fi
  done
fi
[ "$failures" -eq 0 ]
echo "OK"
