#!/usr/bin/env bash
# Installs what is missing, builds, starts the user's private MariaDB server (created on first
# use under ~/.local/share/zarn/mariadb and kept between runs) and starts the program against it.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$top/scripts/deps.sh"
. "$top/scripts/db-server.sh"

data=${XDG_DATA_HOME:-$HOME/.local/share}/zarn/mariadb
run=${XDG_RUNTIME_DIR:-/tmp}/zarn-$(id -u)

# The program runs once per user (it holds zarn.lock where it keeps its lock): a second start
# would end at once, so it is refused here, before the server is touched.
lockdir=/tmp/zarn-$(id -u)
[ -n "${XDG_RUNTIME_DIR:-}" ] && [ -d "$XDG_RUNTIME_DIR" ] && lockdir=$XDG_RUNTIME_DIR
if [ -e "$lockdir/zarn.lock" ] && ! flock -n "$lockdir/zarn.lock" true; then
  echo "The program already runs for $(id -un) (on the server of $data): use its window," \
    "or end it first." >&2
  exit 1
fi

zarn_install_deps
build=${ZARN_BUILD_DIR:-$top/build}
zarn_build "$build"

trap zarn_db_stop EXIT
trap 'exit 130' INT TERM
# A server left running (by a run that was killed) is taken over rather than started again.
zarn_db_attach "$data" "$run" || zarn_db_start "$data" "$run"

# The program reads its connection from ZARN.INI beside it; the private server's port changes
# with every start, so the connection keys are written anew and the rest of the file is kept.
. "$top/scripts/connection-ini.sh"
zarn_write_connection_ini "$build/bin/ZARN.INI"

"$build/bin/zarn" "$@"
