#!/usr/bin/env bash
# The desktop entry validates, and the file type package parses and claims .vrn and .vrs.
set -euo pipefail
command -v desktop-file-validate >/dev/null || exit 77
command -v update-mime-database >/dev/null || exit 77
fail() { echo "FAIL: $*" >&2; exit 1; }
data="$SOURCE_DIR/data"
desktop-file-validate "$data/rirerazo.desktop"
grep -q '^MimeType=text/x-rirerazo-script;$' "$data/rirerazo.desktop" || fail "no MimeType"
grep -q '^NoDisplay' "$data/rirerazo.desktop" && fail "the entry is hidden from menus"

work=$(mktemp -d "${TMPDIR:-/tmp}/rirerazo-mime.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/mime/packages"
cp "$data/rirerazo.xml" "$work/mime/packages/"
# The folder is made a data folder so the tool does not remark that nothing searches it;
# anything else it says is a fault of the package.
XDG_DATA_DIRS="$work" XDG_DATA_HOME="$work" update-mime-database "$work/mime" 2>"$work/errors"
[[ -s "$work/errors" ]] && fail "update-mime-database: $(cat "$work/errors")"
grep -q ':text/x-rirerazo-script:\*\.vrn$' "$work/mime/globs2" || fail ".vrn is not ours"
grep -q ':text/x-rirerazo-script:\*\.vrs$' "$work/mime/globs2" || fail ".vrs is not ours"
grep -q '^text/x-rirerazo-script text/plain$' "$work/mime/subclasses" || fail "not a text type"
grep -q 'text/x-rirerazo-script' "$work/mime/magic" || fail "no content rule"
# A file manager recognises a script by its name, and by its first line without one.
if command -v gio >/dev/null; then
  printf '[VORN Script]\nVersion=1\n' >"$work/play.vrn"
  printf '[VORN Script]\nVersion=1\n' >"$work/script without extension"
  for file in "$work/play.vrn" "$work/script without extension"; do
    type=$(XDG_DATA_DIRS="$work" XDG_DATA_HOME="$work" gio info -a standard::content-type "$file")
    [[ "$type" == *"content-type: text/x-rirerazo-script"* ]] || fail "$file: $type"
  done
fi
echo "desktop entry and file type are valid"
