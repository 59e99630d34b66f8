#!/usr/bin/env bash
# The shipped file is reproducible: two clean builds of the same sources, in two
# folders of different names and depths, give the same bytes. Each build starts from
# nothing but the sources (the project's tracked files as they are in the working
# tree) and Debian's libjpeg-turbo source package, which it builds for itself.
#   tests/repro/check_reproducible.sh REPO [WORK]
# WORK (default: a new temporary folder) is removed afterwards.
set -euo pipefail
repo=$(cd "$1" && pwd)
work=${2:-$(mktemp -d /tmp/vantor-repro.XXXXXX)}
trap 'rm -rf "$work"' EXIT
jpeg_src=$repo/build/deps/src
[ -d "$jpeg_src" ] || { echo "no libjpeg-turbo source in $jpeg_src (tools/deps.sh fetches it)"; exit 1; }

sums=()
for folder in "$work/a" "$work/another/longer/folder"; do
  mkdir -p "$folder/build/deps"
  git -C "$repo" ls-files -z | (cd "$repo" && tar --null -T - -cf -) | tar -x -C "$folder"
  cp -a "$jpeg_src" "$folder/build/deps/src"
  echo "building in $folder"
  (
    cd "$folder"
    DEPS_TARGETS=i686 bash tools/deps.sh >build/deps.log 2>&1 || { cat build/deps.log; exit 1; }
    cmake --preset win32 >build/configure.log 2>&1 || { cat build/configure.log; exit 1; }
    cmake --build --preset win32 --target vantor-formation >build/build.log 2>&1 || { cat build/build.log; exit 1; }
  )
  file=$folder/build/win32/vantor-formation.exe
  [ -s "$file" ] || { echo "no $file"; exit 1; }
  sum=$(sha256sum "$file" | cut -d' ' -f1)
  echo "$sum  $file ($(stat -c %s "$file") bytes)"
  sums+=("$sum")
done
if [ "${sums[0]}" != "${sums[1]}" ]; then
  echo "FAILED: the two builds differ:"
  cmp -l "$work/a/build/win32/vantor-formation.exe" "$work/another/longer/folder/build/win32/vantor-formation.exe" | head -n 20
  exit 1
fi
echo "the two builds are byte-identical"
