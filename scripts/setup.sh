#!/usr/bin/env bash
# Installs every Debian package the project needs to build, run, test and benchmark.
# Idempotent: quiet when everything is already there.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev qt6-charts-dev qt6-tools-dev qt6-tools-dev-tools
  qt6-l10n-tools libqt6svg6 qt6-svg-dev qt6-qpa-plugins
  libgl-dev libxkbcommon-dev
  libcurl4-openssl-dev libssl-dev zlib1g-dev openssl
  libxlsxwriter-dev libsimpleini-dev libmuparser-dev libcpp-httplib-dev
  libsqlite3-dev sqlite3
  libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev
  tinyproxy dante-server
  fonts-dejavu-core xvfb xauth python3
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}" >&2
if [ "$(id -u)" -eq 0 ]; then
  SUDO=()
elif command -v sudo >/dev/null 2>&1; then
  SUDO=(sudo)
else
  echo "setup: these Debian packages are missing and I am not root and have no sudo:" >&2
  echo "  ${missing[*]}" >&2
  echo "setup: install them as root (apt-get install ${missing[*]}) and run again." >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
if ! "${SUDO[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null; then
  "${SUDO[@]}" apt-get update -qq >/dev/null
  "${SUDO[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
