#!/usr/bin/env bash
# Installs whatever the build and the tests need that the machine lacks.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libsdl2-dev libgtest-dev libbenchmark-dev libpixman-1-dev
  clang libclang-rt-14-dev
  xvfb openbox xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils x11-utils
  libx11-dev libxtst-dev libxrandr-dev libxfixes-dev
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

if ((${#missing[@]})); then
  sudo=""
  ((EUID == 0)) || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
