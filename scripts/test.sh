#!/usr/bin/env bash
# Installs what is missing, builds, starts a throw-away private MariaDB server, runs every test
# (or, with --screenshot, takes a picture of the main form after a first start under Xvfb into
# build/main_form.png; with twm and xfonts-base installed the window has its frame and caption)
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
if [ "${1:-}" = --screenshot ]; then
  printf '%s\n' RandomPlacement 'UsePPosition "on"' NoGrabServer 'TitleFont "fixed"' \
    'ResizeFont "fixed"' 'MenuFont "fixed"' 'IconFont "fixed"' 'IconManagerFont "fixed"' >"$work/twmrc"
  cd "$build/tests"
  xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
    if command -v twm >/dev/null; then twm -f "$1" >/dev/null 2>&1 & sleep 1; fi
    QT_QPA_PLATFORM=xcb ./bin/test_app_forms --gtest_filter=Forms.FirstStartLeadsToAWorkingEmptyFirstCompany
  ' sh "$work/twmrc"
  echo "main form: $build/main_form.png"
  exit 0
fi
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" "$@"

# A full run also fuzzes the zip code in a second, small build with ASan and UBSan: only the
# zip libraries and their fuzz test are built there. ZARN_ZIP_FUZZ_SECONDS bounds it,
# ZARN_ZIP_FUZZ_ITERATIONS asks for more mutations.
if [ $# -eq 0 ] || [ "${ZARN_ZIP_FUZZ:-}" = 1 ]; then
  fuzz=${ZARN_FUZZ_BUILD_DIR:-$top/build-zipfuzz}
  cmake -S "$top" -B "$fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZARN_SANITIZE=ON >/dev/null
  cmake --build "$fuzz" -j"$(nproc)" --target test_zip_fuzz
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:fast_unwind_on_malloc=0 \
  LSAN_OPTIONS=suppressions="$top/tests/backup/lsan_libzip.supp" \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ZARN_ZIP_FUZZ_ITERATIONS=${ZARN_ZIP_FUZZ_ITERATIONS:-1000000} \
  ZARN_ZIP_FUZZ_SECONDS=${ZARN_ZIP_FUZZ_SECONDS:-50} \
    "$fuzz/tests/bin/test_zip_fuzz"
fi
