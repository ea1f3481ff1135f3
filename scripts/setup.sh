#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the window need.
# Idempotent; run as root (CI and the developers' machines are root).
set -euo pipefail
packages=(
  build-essential cmake
  libgtest-dev libgmock-dev libbenchmark-dev
  libcli11-dev nlohmann-json3-dev
  qt6-base-dev fonts-dejavu-core xvfb xauth
  clang libclang-rt-14-dev
  qemu-system-x86 busybox-static cpio
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
