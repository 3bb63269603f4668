#!/usr/bin/env bash
# Builds the Debian package, unpacks it into a temporary root, checks its layout, control
# fields and lintian's verdict, and plays the demo with the unpacked program.
set -euo pipefail
for tool in cpack dpkg-deb dpkg-shlibdeps lintian; do
  command -v "$tool" >/dev/null || { echo "$tool is missing"; exit 77; }
done
fail() { echo "FAIL: $*" >&2; exit 1; }
work=$(mktemp -d "${TMPDIR:-/tmp}/rirerazo-deb.XXXXXX")
trap 'rm -rf "$work"' EXIT
cpack -G DEB --config "$BINARY_DIR/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  fail "cpack: $(cat "$work/cpack.log")"
deb=$(ls "$work"/out/*.deb)

depends=$(dpkg-deb -f "$deb" Depends)
[[ "$depends" == *libc6* && "$depends" == *libqt6widgets6* ]] ||
  fail "dependencies not computed from the shared libraries: $depends"
[[ "$(dpkg-deb -f "$deb" Recommends)" == *espeak-ng-data* ]] || fail "no Recommends"
[[ "$(dpkg-deb -f "$deb" Suggests)" == *libreoffice-impress* ]] || fail "no Suggests"

root="$work/root"
dpkg-deb -x "$deb" "$root"
for file in usr/bin/rirerazo usr/bin/rirerazo-char usr/bin/rirerazo-lint \
            usr/lib/rirerazo/rirerazo-desktop.so usr/share/rirerazo/characters/Rira.acs \
            usr/share/applications/rirerazo.desktop usr/share/mime/packages/rirerazo.xml \
            usr/share/icons/hicolor/48x48/apps/rirerazo.png usr/share/man/man1/rirerazo.1.gz \
            usr/share/doc/rirerazo/copyright usr/share/doc/rirerazo/changelog.gz; do
  [[ -e "$root/$file" ]] || fail "$file is not in the package"
done
# The slide-show module is packaged wherever it was built, with the office's folder as its
# library search path (the UNO libraries need their neighbours there).
if [[ -e "$BINARY_DIR/src/rirerazo-impress.so" ]]; then
  module="$root/usr/lib/rirerazo/rirerazo-impress.so"
  [[ -e "$module" ]] || fail "the slide-show module is not in the package"
  readelf -d "$module" | grep -q 'RPATH.*libreoffice/program\]' ||
    fail "the slide-show module does not search the office's folder"
fi

export HOME="$work/home"
mkdir -p "$HOME"
unset RIRERAZO_CHARACTERS DISPLAY WAYLAND_DISPLAY
out=$("$root/usr/bin/rirerazo" --headless --transcript \
        "$root/usr/share/doc/rirerazo/examples/welcome.vrn")
grep -q "Host says: Hello! I am Rira" <<<"$out" || fail "the demo did not play: $out"

# Errors fail the test; warnings and notes are printed for whoever reads the log.
lintian --allow-root --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 || true
cat "$work/lintian.log"
grep -q '^E: ' "$work/lintian.log" && fail "lintian reports errors"
echo "package is clean"
