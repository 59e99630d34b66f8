#!/usr/bin/env bash
# winplat.sh - the headless Wine test platform: a private Wine prefix, an Xvfb display, a
# persistent wineserver and a Wine virtual desktop, so that the Windows builds run, draw
# real window frames and can take screenshots on this Linux machine. There are two, chosen
# by WINPLAT: "wine8" (default), Debian 12's wine64, for the x86_64 build; "wow64", Wine 10
# in its WoW64 mode inside the Debian 13 tree of tools/wow64.sh, for the shipped i686 build.
# Each has its own prefix and its own files below BUILD_ROOT (winplat.* and wineprefix for
# wine8, winplat-wow64.* and wineprefix-wow64 for wow64), so both can be up at once.
#
# Usage:
#   tools/winplat.sh start [--owner NAME]   bring the platform up (no-op when it is up)
#   tools/winplat.sh stop  [--owner NAME]   stop it, if NAME is the owner that started it
#   tools/winplat.sh stop --force           stop it whoever started it
#   tools/winplat.sh status                 say whether it is up; exit 0 if up, 3 if not
#   tools/winplat.sh env [--quiet]          print export lines; use: eval "$(tools/winplat.sh env)"
#                                           (sets WINPLAT_UP=1 when the platform is up, else 0)
#   tools/winplat.sh prefix                 only create/update the Wine prefix (no display)
#   tools/winplat.sh helper                 only build the launcher, print its Linux path
#
# NAME defaults to "manual". A test script does e.g.
#     tools/winplat.sh start --owner test-script
#     trap 'tools/winplat.sh stop --owner test-script' EXIT
# and a ctest fixture uses "--owner ctest"; a fixture's stop then leaves a platform that
# the script started running. tools/wine-run starts the platform itself, with the owner
# "wine-run", when it finds none; such a platform stops itself after WINPLAT_IDLE seconds
# (default 30) without any tools/wine-run running, and a later "start --owner NAME" adopts
# it (NAME becomes the owner, the idle stop is cancelled).
#
# Environment: BUILD_ROOT (default <repo>/build) holds wineprefix/, winplat.state (what
# was started: display, pids, owner), winplat.log (output of the background processes),
# winplat/desktop_run.exe (the launcher built from tests/support/desktop_run.cpp).
# WINPLAT_SCREEN (default 1280x1024x24) is the Xvfb screen.
#
# What is started: Xvfb (display number from -displayfd), "wineserver -f -p" (without a
# persistent server every Wine run pays for a new one: about 1-2 s for a console program,
# about 4 s for the first window; with it a trivial program takes about 0.1 s), one
# "wine64 wineboot", and "desktop_run.exe --hold", which keeps the default desktop and
# its explorer.exe open for the platform's whole life. All of them run in their own
# session with stdin/stdout/stderr on files, so they never keep a caller's pipes (ctest)
# open; "stop" ends them by pid (pid and start time are recorded, so a reused pid is never
# hit), using "wineserver -k" for the prefix's Wine processes.
#
# Screens: every Wine virtual desktop is an X window at the top-left corner of the Xvfb
# screen, named "<desktop> - Wine desktop" ("Default - Wine desktop" for the 1024x768 one),
# so "import -display $DISPLAY -window root -crop 1024x768+0+0 shot.png" takes the desktop
# on top. GetDC(NULL) + BitBlt inside a program gives that program's desktop, frames and
# caption bars included, as long as no later desktop covers it (see tools/wine-run). Right
# after a window is destroyed its pixels can still be on the screen for a moment: the
# desktop repaints asynchronously.
#
# The prefix is created once (wine64 wineboot -i, about 10-15 s) under an exclusive lock
# and gets: virtual desktop "Default" = 1024x768 (without a window manager, Xvfb would
# show no frames or caption bars), the face name 楷体/KaiTi -> AR PL UKai CN and the common
# Chinese UI faces -> WenQuanYi Zen Hei, no crash dialog (a crash prints winedbg's
# backtrace on the program's stdout and the program exits with code 5, instead of waiting
# for an invisible dialog), no X input method, Wine's own fonts (Debian's fonts-wine;
# Marlett draws the caption buttons), and LANG=zh_CN.UTF-8, so Wine's ANSI code page is
# 936. Changing these settings below (prefix_reg) updates an existing prefix at the next
# start.
#
# All Wine processes use WINEDEBUG=-all (override by setting WINEDEBUG), the prompts for
# Mono and Gecko are switched off (mscoree,mshtml=) and so are Linux menu entries
# (winemenubuilder.exe=d).
set -euo pipefail

# Absolute paths without subshells: tools/wine-run calls "env" once per test run.
abs_dir() { # dir -> absolute path in $REPLY
  local back=$PWD
  cd -P -- "$1" && REPLY=$PWD && cd -- "$back"
}
case ${BASH_SOURCE[0]} in */*) abs_dir "${BASH_SOURCE[0]%/*}/.." ;; *) abs_dir .. ;; esac
here=$REPLY
build_root=${BUILD_ROOT:-$here/build}
[ -d "$build_root" ] || mkdir -p "$build_root"
abs_dir "$build_root"
build_root=$REPLY
# Which Wine (WINPLAT): "wine8", Debian 12's wine64 on this machine, for the x86_64 build;
# "wow64", Wine 10 in its WoW64 mode inside the Debian 13 tree of tools/wow64.sh, for the
# shipped i686 build. Each has its own prefix, display, server and state files, so both can
# be up at once.
platform=${WINPLAT:-wine8}
helper_src=$here/tests/support/desktop_run.cpp
helper_dir=$build_root/winplat
helper=$helper_dir/desktop_run.exe
case $platform in
  wine8)
    files=$build_root/winplat
    prefix=$build_root/wineprefix
    wine=/usr/lib/wine/wine64
    wineserver=/usr/lib/wine/wineserver64
    inner_wineserver=$wineserver
    fonts_src=/usr/share/wine/fonts
    ;;
  wow64)
    files=$build_root/winplat-wow64
    prefix=$build_root/wineprefix-wow64
    # Wine runs inside the tree; these two launchers enter it (the pid stays the same).
    wine=$helper_dir/wow64-wine
    wineserver=$helper_dir/wow64-wineserver
    inner_wineserver=/usr/lib/wine/wineserver64
    fonts_src=$("$here/tools/wow64.sh" path)/usr/share/wine/fonts
    ;;
  *)
    printf '[winplat] error: unknown WINPLAT=%s (wine8 or wow64)\n' "$platform" >&2
    exit 1
    ;;
esac
state=$files.state
log=$files.log
lock=$files.lock
busy=$files.busy
mingw_cxx=x86_64-w64-mingw32-g++-posix
screen=${WINPLAT_SCREEN:-1280x1024x24}
idle_default=${WINPLAT_IDLE:-30}
# Bumped whenever the prefix settings below change; an older prefix is then updated.
prefix_version=1

say() { printf '[winplat] %s\n' "$*" >&2; }
die() { say "error: $*"; exit 1; }

# The X resource database of a desktop session (Xsession loads one with xrdb). With no
# database at all Xlib reads ~/.Xdefaults and ~/.Xdefaults-HOST again on every
# XGetDefault, and Wine's X11 driver asks for its Xft settings each time a font is
# selected into a DC, so every paint paid a dozen file look-ups. An empty one suffices.
xresources=$build_root/winplat.Xresources

wine_env() {
  [ -f "$xresources" ] || printf '! X resources of the headless test platform\n' >"$xresources"
  export XENVIRONMENT=$xresources
  export WINEPREFIX=$prefix
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  export WINESERVER=$inner_wineserver
  export WINPLAT=$platform
  export WINEARCH=win64
  unset WINELOADER
}
# Wine takes its code page from the locale (zh_CN.UTF-8 -> 936); set for Wine's commands
# only, so that this script's own messages stay as they are.
wl=(env LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8)

# ---- processes: a pid is ours only while its start time matches the recorded one ----
start_of() { # pid -> start time in clock ticks in $REPLY, empty if no such live process
  REPLY=
  local stat=
  { read -r stat <"/proc/$1/stat"; } 2>/dev/null || return 0
  stat=${stat##*) }
  local -a f
  read -r -a f <<<"$stat"
  [ "${f[0]}" = Z ] || REPLY=${f[19]}
}
alive() { # "pid:starttime"
  local pid=${1%%:*} st=${1#*:}
  [ -n "$pid" ] && [ "$pid" != "$1" ] || return 1
  start_of "$pid"
  [ "$REPLY" = "$st" ]
}
tag() { start_of "$1"; printf '%s:%s' "$1" "$REPLY"; }
kill_tag() { # "pid:starttime" [signal]
  if alive "$1"; then kill "-${2:-TERM}" "${1%%:*}" 2>/dev/null || true; fi
}
wait_gone() { # "pid:starttime" seconds
  local i
  for ((i = 0; i < $2 * 10; i++)); do alive "$1" || return 0; sleep 0.1; done
  return 1
}

# ---- state file: KEY=VALUE lines ----
state_get() { # key -> value, empty when missing (builtins only)
  [ -f "$state" ] || return 0
  local line value=
  while IFS= read -r line; do
    [ "${line%%=*}" = "$1" ] && value=${line#*=}
  done <"$state" 2>/dev/null || true
  printf '%s' "$value"
}
state_set() { # key value
  local tmp=$state.tmp.$$
  { if [ -f "$state" ]; then grep -v "^$1=" "$state" || true; fi; printf '%s=%s\n' "$1" "$2"; } >"$tmp"
  mv -f "$tmp" "$state"
}
declare -A S=()
state_load() { # the state file into the array S
  S=()
  [ -f "$state" ] || return 0
  local line
  while IFS= read -r line; do
    S[${line%%=*}]=${line#*=}
  done <"$state" 2>/dev/null || true
}
platform_up() {
  state_load
  alive "${S[XVFB]:-}" && alive "${S[SERVER]:-}" && alive "${S[KEEPER]:-}"
}

# The wineserver that serves this prefix, if any, found by its working directory
# (the server changes into .../server-<dev>-<inode of the prefix> in hex).
prefix_server_pids() {
  [ -d "$prefix" ] || return 0
  local dev ino suffix p cwd
  read -r dev ino < <(stat -c '%d %i' "$prefix")
  suffix=$(printf 'server-%x-%x' "$dev" "$ino")
  local comm
  for p in /proc/[0-9]*; do
    comm=
    { read -r comm <"$p/comm"; } 2>/dev/null || continue
    [ "$comm" = "${inner_wineserver##*/}" ] || continue
    cwd=$(readlink "$p/cwd" 2>/dev/null) || continue
    [ "${cwd##*/}" = "$suffix" ] && printf '%s\n' "${p#/proc/}"
  done
  return 0
}

with_lock() { # runs "$@" holding the platform lock (fd 9 is closed for every daemon)
  exec 9>>"$lock"
  flock -w 600 9 || die "timed out waiting for $lock"
  "$@"
  local rc=$?
  exec 9>&-
  return $rc
}

# ---- the launcher ----
build_helper() {
  [ -f "$helper_src" ] || die "missing $helper_src"
  if [ -f "$helper" ] && [ "$helper" -nt "$helper_src" ]; then return 0; fi
  command -v "$mingw_cxx" >/dev/null || die "$mingw_cxx not found (tools/deps.sh installs it)"
  say "building $(basename "$helper") from ${helper_src#"$here"/}"
  mkdir -p "$helper_dir"
  "$mingw_cxx" -O2 -s -static -municode -Wall -Wextra -o "$helper.tmp.$$" "$helper_src" \
    || die "cannot build $helper_src"
  mv -f "$helper.tmp.$$" "$helper"
}

# ---- the WoW64 tree and the two launchers into it ----
wow64_launchers() {
  [ "$platform" = wow64 ] || return 0
  "$here/tools/wow64.sh" tree || die "the WoW64 tree could not be made (see above)"
  mkdir -p "$helper_dir"
  local name inner
  for name in wine wineserver; do
    case $name in wine) inner=/usr/lib/wine/wine64 ;; *) inner=$inner_wineserver ;; esac
    # Inside the tree already (a Linux command started by a Windows program of this
    # platform, such as the tests' launches with another locale) it is the plain command.
    printf '#!/bin/sh\n# Runs Wine 10 (WoW64) inside the tree of tools/wow64.sh.\n[ -f /.wow64-stamp ] && exec %q "$@"\nBUILD_ROOT=%q exec %q exec %q "$@"\n' \
      "$inner" "$build_root" "$here/tools/wow64.sh" "$inner" >"$helper_dir/wow64-$name.tmp"
    chmod +x "$helper_dir/wow64-$name.tmp"
    mv -f "$helper_dir/wow64-$name.tmp" "$helper_dir/wow64-$name"
  done
}

# ---- the prefix ----
prefix_reg() {
  # UTF-8 here; converted to UTF-16 for regedit so that the Chinese names survive.
  cat <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1024x768"

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"楷体"="AR PL UKai CN"
"KaiTi"="AR PL UKai CN"
"楷体_GB2312"="AR PL UKai CN"
"KaiTi_GB2312"="AR PL UKai CN"
"宋体"="WenQuanYi Zen Hei"
"SimSun"="WenQuanYi Zen Hei"
"新宋体"="WenQuanYi Zen Hei"
"NSimSun"="WenQuanYi Zen Hei"
"黑体"="WenQuanYi Zen Hei"
"SimHei"="WenQuanYi Zen Hei"
"微软雅黑"="WenQuanYi Zen Hei"
"Microsoft YaHei"="WenQuanYi Zen Hei"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"UseXIM"="N"
REG
}

prefix_stamp() { printf 'winplat prefix v%s %s\n' "$prefix_version" "$(prefix_reg | sha1sum | cut -c1-12)"; }

# Waits until no wineserver serves the prefix (a transient one from a headless run exits
# with its last process); fails if one stays.
wait_no_server() {
  local i pids
  for ((i = 0; i < 600; i++)); do
    pids=$(prefix_server_pids)
    [ -z "$pids" ] && return 0
    ((i == 10)) && say "waiting for a wineserver of this prefix that is not ours (pid ${pids//$'\n'/ }) to exit"
    sleep 0.1
  done
  die "a wineserver not started by winplat.sh keeps running for $prefix (pid ${pids//$'\n'/ }); stop it with: WINEPREFIX=$prefix $wineserver -k"
}

ensure_prefix_locked() {
  wow64_launchers
  local stamp_file=$prefix/.winplat-stamp
  if [ -f "$stamp_file" ] && [ "$(cat "$stamp_file")" = "$(prefix_stamp)" ]; then return 0; fi
  if platform_up; then
    say "prefix settings are out of date; they are applied at the next start"
    return 0
  fi
  wine_env
  unset DISPLAY
  if [ ! -f "$prefix/.winplat-created" ] || [ ! -f "$prefix/system.reg" ]; then
    wait_no_server
    say "creating the Wine prefix $prefix (once, about 15 s)"
    rm -rf "$prefix"
    mkdir -p "$prefix"
    "${wl[@]}" "$wine" wineboot -i </dev/null >>"$log" 2>&1 9>&- || die "wineboot -i failed; see $log"
    "$wineserver" -w 9>&- || true
    : >"$prefix/.winplat-created"
  fi
  say "applying the prefix settings"
  wait_no_server
  local reg=$files.reg
  { printf '\xff\xfe'; prefix_reg | iconv -f UTF-8 -t UTF-16LE; } >"$reg"
  "${wl[@]}" "$wine" regedit /S "$(winpath_of "$reg")" </dev/null >>"$log" 2>&1 9>&- || die "regedit failed; see $log"
  "$wineserver" -w 9>&- || true
  rm -f "$reg"
  prefix_stamp >"$stamp_file"
}

# Wine's own fonts (Marlett draws the caption buttons; Tahoma, MS Sans Serif, ...) come
# from Debian's fonts-wine and are copied into C:\windows\Fonts when the prefix is made.
# A prefix made before that package was installed gets them here; without them the
# caption buttons show the letters "0 1 r".
sync_wine_fonts() {
  local src=$fonts_src dst=$prefix/drive_c/windows/Fonts f
  if [ ! -f "$src/marlett.ttf" ]; then
    say "warning: Debian's fonts-wine is not installed; caption buttons are drawn as '0 1 r'"
    return 0
  fi
  mkdir -p "$dst"
  for f in "$src"/*; do
    [ -e "$dst/${f##*/}" ] || cp "$f" "$dst/"
  done
}

winpath_of() { # absolute Linux path -> Windows path on drive Z:
  local p=$1
  p=${p//\//\\}
  printf 'Z:%s' "$p"
}

# ---- start ----
start_ok=
cleanup_partial() {
  [ -z "$start_ok" ] || return 0
  say "start failed; stopping what it started"
  stop_now || true
}

start_locked() {
  local owner=$1 idle=$2
  if platform_up; then
    local cur
    cur=$(state_get OWNER)
    if [ "$cur" = wine-run ] && [ "$owner" != wine-run ]; then
      state_set OWNER "$owner"
      state_set IDLE 0
      say "platform already up on DISPLAY=$(state_get DISPLAY); now owned by $owner (was started by wine-run)"
    else
      say "platform already up on DISPLAY=$(state_get DISPLAY) (owner $cur); nothing to do"
    fi
    return 0
  fi
  if [ -f "$state" ]; then
    say "found a stale state file; cleaning up what is left of it"
    stop_now
  fi
  : >"$log"
  build_helper
  ensure_prefix_locked
  sync_wine_fonts
  wait_no_server

  trap 'cleanup_partial' EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM HUP
  printf 'OWNER=%s\nIDLE=%s\nPREFIX=%s\n' "$owner" "$idle" "$prefix" >"$state"

  # Xvfb on the first free display; it writes the number to fd 3 once it accepts clients.
  local dfile=$files.display.$$ i display=
  : >"$dfile"
  setsid Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset \
    3>"$dfile" </dev/null >>"$log" 2>&1 9>&- 8>&- &
  local xpid=$!
  state_set XVFB "$(tag $xpid)"
  for ((i = 0; i < 200; i++)); do
    display=$(tr -dc 0-9 <"$dfile")
    [ -n "$display" ] && break
    kill -0 "$xpid" 2>/dev/null || { rm -f "$dfile"; die "Xvfb did not start; see $log"; }
    sleep 0.05
  done
  rm -f "$dfile"
  [ -n "$display" ] || die "Xvfb gave no display number in 10 s; see $log"
  state_set DISPLAY ":$display"
  say "Xvfb on DISPLAY=:$display ($screen)"

  wine_env
  export DISPLAY=:$display
  setsid "${wl[@]}" "$wineserver" -f -p </dev/null >>"$log" 2>&1 9>&- 8>&- &
  local spid=$!
  state_set SERVER "$(tag $spid)"
  # Ready once it has taken the prefix's server directory; exit code 2: another server runs.
  local ok=
  for ((i = 0; i < 100; i++)); do
    if ! kill -0 "$spid" 2>/dev/null; then
      wait "$spid" 2>/dev/null && true
      die "wineserver exited at once (is another one running for $prefix?); see $log"
    fi
    if [ "$(prefix_server_pids)" = "$spid" ]; then ok=1; break; fi
    sleep 0.05
  done
  [ -n "$ok" ] || die "wineserver did not come up; see $log"

  say "booting Wine (wineboot)"
  "${wl[@]}" "$wine" wineboot </dev/null >>"$log" 2>&1 9>&- 8>&- || die "wineboot failed; see $log"
  local klog=$files.keeper.log
  setsid "${wl[@]}" "$wine" "$helper" --hold </dev/null >"$klog" 2>&1 9>&- 8>&- &
  local kpid=$!
  state_set KEEPER "$(tag $kpid)"
  # The default desktop is open once its explorer.exe runs.
  ok=
  for ((i = 0; i < 200; i++)); do
    kill -0 "$kpid" 2>/dev/null || die "the desktop keeper exited; see $klog"
    if grep -qs 'holding the default desktop' "$klog"; then ok=1; break; fi
    sleep 0.05
  done
  [ -n "$ok" ] || die "the default desktop did not open in 10 s; see $klog"

  if [ "$idle" != 0 ]; then
    setsid "$here/tools/winplat.sh" _watchdog </dev/null >>"$log" 2>&1 9>&- 8>&- &
    state_set WATCHDOG "$(tag $!)"
  fi
  start_ok=1
  trap - EXIT INT TERM HUP
  say "platform up: DISPLAY=:$display, virtual desktop 1024x768, owner $owner$([ "$idle" != 0 ] && printf ', stops after %ss idle' "$idle")"
}

# ---- stop ----
stop_now() { # stops whatever the state file lists; no owner check
  trap '' INT
  local x s k w
  x=$(state_get XVFB) s=$(state_get SERVER) k=$(state_get KEEPER) w=$(state_get WATCHDOG)
  if [ -n "$w" ] && [ "${w%%:*}" != "${WINPLAT_SELF:-}" ]; then kill_tag "$w"; fi
  if alive "$s"; then
    (wine_env; "$wineserver" -k 9>&- 8>&-) >>"$log" 2>&1 || true
    wait_gone "$s" 10 || kill_tag "$s" KILL
  fi
  kill_tag "$k" KILL
  if alive "$x"; then
    kill_tag "$x"
    wait_gone "$x" 5 || kill_tag "$x" KILL
  fi
  rm -f "$state"
  trap - INT
}

stop_locked() {
  local owner=$1 force=$2
  if [ ! -f "$state" ]; then
    say "platform is not running"
    return 0
  fi
  local cur
  cur=$(state_get OWNER)
  if [ "$force" != 1 ] && [ "$cur" != "$owner" ] && platform_up; then
    say "platform was started by $cur, not $owner; left running"
    return 0
  fi
  stop_now
  say "platform stopped"
}

# ---- idle watchdog (started for owner wine-run) ----
watchdog() {
  local me=$$ since
  since=$(date +%s)
  export WINPLAT_SELF=$me
  : >>"$busy"
  while sleep 2; do
    [ -f "$state" ] || exit 0
    [ "$(state_get WATCHDOG)" = "$(tag "$me")" ] || exit 0
    local idle
    idle=$(state_get IDLE)
    [ -n "$idle" ] && [ "$idle" != 0 ] || exit 0
    platform_up || exit 0
    # Busy while any tools/wine-run holds its shared lock on winplat.busy.
    exec 8>>"$busy"
    if flock -n -x 8; then
      if (($(date +%s) - since >= idle)); then
        exec 9>>"$lock"
        flock -w 60 9 || exit 1
        if [ "$(state_get OWNER)" = wine-run ] && [ "$(state_get WATCHDOG)" = "$(tag "$me")" ]; then
          say "no tools/wine-run for ${idle}s; stopping the platform it started"
          stop_now
        fi
        exit 0
      fi
      exec 8>&-
    else
      exec 8>&-
      since=$(date +%s)
    fi
  done
}

print_env() {
  wine_env
  local var
  for var in WINEPREFIX WINEDEBUG WINEDLLOVERRIDES WINESERVER WINEARCH XENVIRONMENT; do
    printf 'export %s=%q\n' "$var" "${!var}"
  done
  printf 'export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8\n'
  printf 'export WINPLAT_WINE=%q\n' "$wine"
  printf 'export WINPLAT_DESKTOP_RUN=%q\n' "$helper"
  printf 'export WINPLAT_FILES=%q\n' "$files"
  if platform_up; then
    printf 'export DISPLAY=%q\n' "${S[DISPLAY]}"
    printf 'WINPLAT_UP=1\n'
  else
    printf 'WINPLAT_UP=0\n'
    if [ "${1:-}" != quiet ]; then
      say "platform is not running: DISPLAY left unset (tools/winplat.sh start)"
    fi
    printf 'unset DISPLAY\n'
  fi
}

# ---- command line ----
cmd=${1:-}
[ $# -gt 0 ] && shift
owner=manual force=0 idle=0
while [ $# -gt 0 ]; do
  case $1 in
    --owner) [ $# -ge 2 ] || die "--owner needs a name"; owner=$2; shift 2 ;;
    --owner=*) owner=${1#--owner=}; shift ;;
    --force) force=1; shift ;;
    --quiet) owner_quiet=quiet; shift ;;
    --idle) [ $# -ge 2 ] || die "--idle needs seconds"; idle=$2; shift 2 ;;
    *) die "unknown argument: $1" ;;
  esac
done
[[ $owner =~ ^[A-Za-z0-9._-]+$ ]] || die "bad owner name: $owner"
[[ $idle =~ ^[0-9]+$ ]] || die "bad --idle: $idle"
# The platform tools/wine-run starts stops itself when idle.
[ "$owner" = wine-run ] && [ "$idle" = 0 ] && idle=$idle_default

case $cmd in
  start) with_lock start_locked "$owner" "$idle" ;;
  stop) with_lock stop_locked "$owner" "$force" ;;
  status)
    if platform_up; then
      say "platform up: DISPLAY=${S[DISPLAY]:-}, owner ${S[OWNER]:-}"
    else
      say "platform is not running"
      exit 3
    fi
    ;;
  env) print_env "${owner_quiet:-}" ;;
  prefix) with_lock build_helper; with_lock ensure_prefix_locked ;;
  helper) with_lock build_helper; printf '%s\n' "$helper" ;;
  _watchdog) watchdog ;;
  *)
    sed -n '2,/^set -euo/p' "${BASH_SOURCE[0]}" | sed '$d' | sed 's/^# \{0,1\}//' >&2
    exit 2
    ;;
esac
