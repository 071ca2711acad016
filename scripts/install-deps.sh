#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need,
# but only those that are missing; on a machine that has them all it does nothing.
set -euo pipefail

packages=(
  build-essential
  cmake
  ninja-build
  ccache
  clang-format
  qt6-base-dev
  qt6-charts-dev
  libqt6opengl6-dev
  libgl-dev
  libxkbcommon-dev
  qt6-qpa-plugins
  libjpeg-dev
  fonts-dejavu-core
  libbenchmark-dev
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  if [[ "$status" != "install ok installed" ]]; then
    missing+=("$package")
  fi
done

if [[ ${#missing[@]} -eq 0 ]]; then
  exit 0
fi

sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then
  if ! command -v sudo >/dev/null 2>&1; then
    echo "install-deps: missing packages: ${missing[*]}" >&2
    echo "install-deps: run as root or install sudo" >&2
    exit 1
  fi
  sudo_cmd=(sudo)
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive \
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
