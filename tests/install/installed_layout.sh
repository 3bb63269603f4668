#!/usr/bin/env bash
# Installs the build into a temporary prefix and plays the demo from there: the character
# and the modules must come from the installed layout, not from the build folder.
set -euo pipefail
work=$(mktemp -d "${TMPDIR:-/tmp}/rirerazo-install.XXXXXX")
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix with blank"
cmake --install "$BINARY_DIR" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }
for file in bin/rirerazo bin/rirerazo-char bin/rirerazo-lint lib/rirerazo/rirerazo-desktop.so \
            share/rirerazo/characters/Rira.acs share/doc/rirerazo/examples/welcome.vrn \
            share/applications/rirerazo.desktop share/mime/packages/rirerazo.xml \
            share/icons/hicolor/16x16/apps/rirerazo.png share/icons/hicolor/256x256/apps/rirerazo.png \
            share/icons/hicolor/scalable/apps/rirerazo.svg share/man/man1/rirerazo.1.gz \
            share/man/man1/rirerazo-char.1.gz share/man/man1/rirerazo-lint.1.gz; do
  [[ -e "$prefix/$file" ]] || fail "$file is not installed"
done
[[ -e "$prefix/bin/Rira.acs" ]] && fail "the character is installed beside the program"
ls "$prefix"/lib/rirerazo/*.so >/dev/null

# A home and an environment of our own, so only the installed folders can supply the
# character; the script is copied out of the examples so its folder has no character.
home="$work/home"
mkdir -p "$home" "$work/scripts"
cp "$prefix/share/doc/rirerazo/examples/welcome.vrn" "$work/scripts/"
export HOME="$home"
unset RIRERAZO_CHARACTERS DISPLAY WAYLAND_DISPLAY
out=$("$prefix/bin/rirerazo" --headless --transcript "$work/scripts/welcome.vrn")
grep -q "Host says: Hello! I am Rira" <<<"$out" || fail "the demo did not play: $out"

# The installed checker finds the installed character the same way.
"$prefix/bin/rirerazo-lint" "$work/scripts/welcome.vrn" || fail "rirerazo-lint finds faults"

# With a display the program loads the desktop module from <prefix>/lib/rirerazo/.
if command -v xvfb-run >/dev/null; then
  printf '[VORN Script]\nVersion=1\n[Characters]\nHost=Rira.acs\n[Script]\nHost.Show\nHost.Hide\n' \
    >"$work/scripts/short.vrn"
  err=$(QT_QPA_PLATFORM=xcb timeout 120 xvfb-run -a "$prefix/bin/rirerazo" --transcript \
          "$work/scripts/short.vrn" 2>&1 >/dev/null) || true
  grep -q "cannot be loaded" <<<"$err" && fail "the desktop module was not found: $err"
fi

# A missing script says so in one line and ends with status 1.
set +e
err=$("$prefix/bin/rirerazo" --headless "$work/no such.vrn" 2>&1 >/dev/null)
status=$?
set -e
[[ $status -eq 1 ]] || fail "a missing script ended with status $status"
[[ "$err" == "rirerazo: $work/no such.vrn: no such script file" ]] || fail "message: $err"
echo "installed layout plays"
