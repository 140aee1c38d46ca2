#!/bin/bash
# Program restore: unpacks the newest prgment/zarnprg-YYYY-MM-DD.tar.gz over the program
# directory. The archive is unpacked into a scratch folder first; only then is each file moved
# into place, so a damaged archive changes nothing and no file is left half written.
# Argument: the process id of zarn, which started us and is ending; we wait for it first.
set -euo pipefail
cd "$(dirname "$0")"

if [ -n "${1:-}" ]; then
  case $1 in *[!0-9]*) echo "prgmvissza.sh: hibás folyamatazonosító: $1" >&2; exit 2 ;; esac
  while kill -0 "$1" 2>/dev/null; do sleep 1; done
fi

# The date in the name sorts as text: the last one is the newest.
archive=
for candidate in prgment/zarnprg-*.tar.gz; do
  if [ -f "$candidate" ]; then archive=$candidate; fi
done
if [ -z "$archive" ]; then
  echo "prgmvissza.sh: nincs programmentés a prgment mappában" >&2
  exit 1
fi

stage=".prgmvissza.$$"
trap 'rm -rf "$stage"' EXIT
mkdir "$stage"
tar -xzf "$archive" -C "$stage"

# Folders first, then each file by a rename within the same file system.
(cd "$stage" && find . -mindepth 1 -type d -printf '%P\0') | xargs -0 -r mkdir -p --
(cd "$stage" && find . -mindepth 1 ! -type d -printf '%P\0') |
  while IFS= read -r -d '' name; do
    mv -fT -- "$stage/$name" "$name"
  done
