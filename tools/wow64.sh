#!/usr/bin/env bash
# wow64.sh - the second Wine of the test platform: Wine 10 from Debian 13 in its WoW64
# mode, which runs 32-bit Windows code inside a 64-bit process. These machines refuse to
# execute i386 ELF code, so Debian 12's 32-bit Wine cannot start; WoW64 Wine needs none,
# and it is what lets the shipped i686 program run in the tests.
#
# Usage:
#   tools/wow64.sh tree            make the Debian 13 tree with its Wine (once; idempotent)
#   tools/wow64.sh exec CMD ARGS   run CMD (a path inside the tree, e.g. /usr/lib/wine/wine64)
#                                  inside the tree, with the project folder reachable
#   tools/wow64.sh path            print the tree's folder
#
# The tree lives outside the clone, in WOW64_ROOT (default /var/lib/vantor-formation/
# wow64-trixie), so a fresh clone reuses it and a fresh machine builds it once (debootstrap
# about a minute, Wine and its fonts a few minutes more). It is made under a lock in a
# temporary folder and renamed into place only when complete, so an interrupted build
# leaves nothing that looks usable; the stamp file names the recipe, and a changed recipe
# makes a new tree.
#
# Running inside: "exec" enters a private mount namespace (unshare -m) in which /proc,
# /dev, /tmp (the X display's socket and the wineserver's socket folder are there), the
# project folder and the build folder are bind-mounted into the tree at the paths they
# have outside, then chroots and execs CMD. The pid stays the same all the way, so the
# caller can wait for it and signal it as it would the plain command. The mounts belong
# to that namespace only: they vanish with its last process, whatever way it ends, and
# nothing is ever mounted on the machine itself.
#
# Debian's amd64 libwine ships its i386-windows module folder empty but for one DLL; the
# 32-bit PE modules come with libwine:i386, in the i386 multiarch folder. Each of them is
# linked into the amd64 folder, which is where the 64-bit loader looks: without that,
# Wine cannot fill syswow64 and says 'failed to load ...syswow64\ntdll.dll c0000135'.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
root=${WOW64_ROOT:-/var/lib/vantor-formation/wow64-trixie}
build_root=${BUILD_ROOT:-$here/build}
mirror=${WOW64_MIRROR:-http://deb.debian.org/debian}
suite=trixie
packages=(wine64 libwine:i386 locales fonts-wqy-zenhei fonts-arphic-ukai fonts-wine)
# Changes whenever what goes into the tree changes; a tree with another stamp is made anew.
recipe="wow64 tree v1: debootstrap minbase $suite; ${packages[*]}; i386-windows links; zh_CN.UTF-8"

say() { printf '[wow64] %s\n' "$*" >&2; }
die() {
  say "error: $*"
  exit 1
}

tree_ready() { [ "$(cat "$root/.wow64-stamp" 2>/dev/null)" = "$recipe" ]; }

# Runs a command in the tree in a private mount namespace; used for making it, too.
enter() { # tree-folder binds... -- command...
  local tree=$1
  shift
  local binds=()
  while [ "$1" != -- ]; do
    binds+=("$1")
    shift
  done
  shift
  [ "$(id -u)" = 0 ] || die "entering the WoW64 tree needs root (mount namespaces and chroot)"
  # The script inside the namespace: mounts private to it, then chroot; exec keeps the pid.
  exec unshare --mount --propagation private -- /bin/sh -c '
    set -e
    tree=$1
    shift
    mount --rbind /proc "$tree/proc"
    mount --rbind /dev "$tree/dev"
    mount --rbind /sys "$tree/sys"
    mkdir -p "$tree/tmp"
    mount --bind /tmp "$tree/tmp"
    while [ "$1" != -- ]; do
      mkdir -p "$tree$1"
      mount --bind "$1" "$tree$1"
      shift
    done
    shift
    exec chroot "$tree" "$@"
  ' wow64-enter "$tree" "${binds[@]}" -- "$@"
}

make_tree() {
  [ "$(id -u)" = 0 ] || die "making the WoW64 tree needs root (debootstrap, chroot)"
  command -v debootstrap >/dev/null || die "debootstrap is missing (tools/deps.sh installs it)"
  command -v unshare >/dev/null || die "unshare is missing (util-linux)"
  mkdir -p "$(dirname "$root")"
  exec 9>>"$root.lock"
  flock -w 1800 9 || die "timed out waiting for $root.lock"
  if tree_ready; then return 0; fi
  local tmp=$root.new
  rm -rf "$tmp"
  say "making the Debian 13 tree for Wine 10 WoW64 in $root (once: a few minutes)"
  debootstrap --variant=minbase "$suite" "$tmp" "$mirror" >"$root.log" 2>&1 \
    || die "debootstrap $suite failed (is Debian's archive reachable at $mirror?); see $root.log"
  local modules='
    set -e
    export DEBIAN_FRONTEND=noninteractive
    dpkg --add-architecture i386
    apt-get update -q
    apt-get install -y -q --no-install-recommends '"${packages[*]}"'
    sed -i "s/^# *\(zh_CN.UTF-8 UTF-8\)/\1/" /etc/locale.gen
    grep -q "^zh_CN.UTF-8 UTF-8" /etc/locale.gen || echo "zh_CN.UTF-8 UTF-8" >>/etc/locale.gen
    locale-gen
    from=/usr/lib/i386-linux-gnu/wine/i386-windows
    to=/usr/lib/x86_64-linux-gnu/wine/i386-windows
    [ -d "$from" ] && [ -d "$to" ]
    for f in "$from"/*; do
      [ -e "$to/${f##*/}" ] || ln -s "$f" "$to/"
    done
    apt-get clean
  '
  say "installing Wine 10 (amd64 and its i386 modules), locales and fonts into the tree"
  (enter "$tmp" -- /bin/sh -c "$modules") >>"$root.log" 2>&1 \
    || die "installing Wine into the tree failed; see $root.log"
  [ -x "$tmp/usr/lib/wine/wine64" ] || die "the tree has no /usr/lib/wine/wine64; see $root.log"
  printf '%s\n' "$recipe" >"$tmp/.wow64-stamp"
  rm -rf "$root"
  mv "$tmp" "$root"
  say "tree ready: $(enter "$root" -- /usr/lib/wine/wine64 --version 2>/dev/null || echo 'wine --version failed')"
}

cmd=${1:-}
[ $# -gt 0 ] && shift
case $cmd in
  tree) tree_ready || make_tree ;;
  path) printf '%s\n' "$root" ;;
  exec)
    [ $# -ge 1 ] || die "exec needs a command"
    tree_ready || die "the WoW64 tree is not made yet (tools/wow64.sh tree)"
    mkdir -p "$build_root"
    binds=("$here")
    case $build_root/ in "$here"/*) ;; *) binds+=("$build_root") ;; esac
    enter "$root" "${binds[@]}" -- "$@"
    ;;
  *)
    sed -n '2,/^set -euo/p' "${BASH_SOURCE[0]}" | sed '$d' | sed 's/^# \{0,1\}//' >&2
    exit 2
    ;;
esac
