#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing.
set -euo pipefail
packages=(cmake ninja-build g++ clang libgtest-dev libgmock-dev libbenchmark-dev
          nlohmann-json3-dev libpng-dev libcurl4-openssl-dev zlib1g-dev
          libx11-dev libxtst-dev libstb-dev xvfb
          # the desktop host: Qt, speech, sound, media, and what its tests run under
          qt6-base-dev qt6-multimedia-dev libespeak-ng-dev espeak-ng-data libpulse-dev
          gstreamer1.0-plugins-base gstreamer1.0-plugins-good timgm6mb-soundfont fluidsynth
          xauth xcompmgr trayer dbus ccache
          # voice commands: the recogniser and its model; the tests synthesise speech
          libpocketsphinx-dev libsphinxbase-dev pocketsphinx-en-us espeak-ng sox
          # the install and package tests: package build, its checker, desktop files
          dpkg-dev lintian desktop-file-utils shared-mime-info libglib2.0-bin
          # the render host: FFmpeg's libraries, and its tools to read videos back in tests
          libavcodec-dev libavformat-dev libavutil-dev libswscale-dev libswresample-dev ffmpeg)
# Slide shows on the desktop: the office's presentation program with its GTK backend, and
# its SDK (UNO headers, cppumaker). Without recommends: what the office recommends is large
# (as it is, about 85 MB to download). RIRERAZO_OFFICE=0 leaves them out: the slide-show
# module is then not built and its tests skip.
office_packages=(libreoffice-impress libreoffice-gtk3 libreoffice-dev)

# Installs those of the named packages that are missing; apt options come before "--".
install_missing() {
  local options=()
  while [[ $1 != -- ]]; do options+=("$1"); shift; done
  shift
  local missing=()
  for p in "$@"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
  done
  ((${#missing[@]})) || return 0
  echo "Installing: ${missing[*]}"
  local sudo_cmd=()
  [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${options[@]}" \
    "${missing[@]}"
}

install_missing -- "${packages[@]}"
if [[ ${RIRERAZO_OFFICE:-1} == 1 ]]; then
  install_missing --no-install-recommends -- "${office_packages[@]}"
fi
