#!/usr/bin/env bash
# Installs what is missing, builds, starts the user's private MariaDB server (created on first
# use under ~/.local/share/zarn/mariadb and kept between runs) and starts the program against it.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$top/scripts/deps.sh"
. "$top/scripts/db-server.sh"

zarn_install_deps
build=${ZARN_BUILD_DIR:-$top/build}
zarn_build "$build"

data=${XDG_DATA_HOME:-$HOME/.local/share}/zarn/mariadb
run=${XDG_RUNTIME_DIR:-/tmp}/zarn-$(id -u)
trap zarn_db_stop EXIT
trap 'exit 130' INT TERM
zarn_db_start "$data" "$run"

# The program reads its connection from ZARN.INI beside it; the private server's port changes
# with every start, so the connection keys are written anew and the rest of the file is kept.
. "$top/scripts/connection-ini.sh"
zarn_write_connection_ini "$build/bin/ZARN.INI"

"$build/bin/zarn" "$@"
