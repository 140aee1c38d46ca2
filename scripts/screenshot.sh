#!/usr/bin/env bash
# Builds, starts a throw-away private MariaDB server and takes a picture of the main form after
# a first start (the first company created) under Xvfb, into build/main_form.png. With twm
# installed (twm, xfonts-base) the window gets its frame and caption.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$top/scripts/deps.sh"
. "$top/scripts/db-server.sh"

zarn_install_deps
build=${ZARN_BUILD_DIR:-$top/build}
zarn_build "$build"

work=$(mktemp -d /tmp/zarn-shot.XXXXXX)
cleanup() {
  zarn_db_stop
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

zarn_db_start "$work/data" "$work/run"
printf 'RandomPlacement\nUsePPosition "on"\nNoGrabServer\nTitleFont "fixed"\nResizeFont "fixed"\nMenuFont "fixed"\nIconFont "fixed"\nIconManagerFont "fixed"\n' >"$work/twmrc"
cd "$build/tests"
xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
  if command -v twm >/dev/null; then twm -f "$1" >/dev/null 2>&1 & sleep 1; fi
  QT_QPA_PLATFORM=xcb ./bin/test_app_forms --gtest_filter=Forms.FirstStartLeadsToAWorkingEmptyFirstCompany
' sh "$work/twmrc"
echo "main form: $build/main_form.png"
