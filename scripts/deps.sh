#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need, when any is missing.
set -euo pipefail

ZARN_PACKAGES=(
  cmake g++ make pkgconf
  qt6-base-dev qt6-qpa-plugins
  libmariadb-dev mariadb-server mariadb-client
  libzip-dev zlib1g-dev zip unzip
  libgtest-dev libgmock-dev
  xvfb xauth poppler-utils fonts-dejavu-core
  qt6-translations-l10n
)

zarn_install_deps() {
  local missing=() p
  for p in "${ZARN_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  # The server package must not start a system-wide server of its own.
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive RUNLEVEL=1 apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Configures and builds into $1 (default: build/).
zarn_build() {
  local top build
  top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  build=${1:-$top/build}
  cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build" -j"$(nproc)"
}
