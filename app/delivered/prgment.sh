#!/bin/bash
# Program backup: packs the program's own files into prgment/zarnprg-YYYY-MM-DD.tar.gz beside
# them. The program files are the regular files at the top of the program directory and its
# create/ and help/ folders; every other folder (the users' own, the workstations' window
# placements, the backup work folders, prgment/ and ujverzio/) is left out.
# Argument: the process id of zarn, which started us and is ending; we wait for it first.
set -euo pipefail
cd "$(dirname "$0")"

if [ -n "${1:-}" ]; then
  case $1 in *[!0-9]*) echo "prgment.sh: hibás folyamatazonosító: $1" >&2; exit 2 ;; esac
  while kill -0 "$1" 2>/dev/null; do sleep 1; done
fi

mkdir -p prgment
archive="prgment/zarnprg-$(date +%Y-%m-%d).tar.gz"
list="prgment/.zarnprg-list.$$"
temp="prgment/.zarnprg-new.$$"
trap 'rm -f "$list" "$temp"' EXIT

# Names without "./", one per NUL, so any file name survives.
find . -mindepth 1 -maxdepth 1 -type f -printf '%P\0' >"$list"
for folder in create help; do
  if [ -d "$folder" ]; then printf '%s\0' "$folder" >>"$list"; fi
done

# A failed run leaves the former archive of the day as it was.
tar -czf "$temp" --null -T "$list"
mv -f "$temp" "$archive"
