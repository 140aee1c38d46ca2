#!/usr/bin/env bash
# Installs what is missing, builds, starts a throw-away private MariaDB server, runs every test
# and stops the server on every way out.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$top/scripts/deps.sh"
. "$top/scripts/db-server.sh"

zarn_install_deps
build=${ZARN_BUILD_DIR:-$top/build}
zarn_build "$build"

work=$(mktemp -d /tmp/zarn-test.XXXXXX)
cleanup() {
  zarn_db_stop
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

zarn_db_start "$work/data" "$work/run"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" "$@"
