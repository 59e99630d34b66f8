#!/bin/sh
# Stands in for the web browser in the web-link tests: Wine's winebrowser runs the
# program named by HKCU\Software\Wine\WineBrowser "Browsers" with the address to open
# as its argument. This appends the address, as one line, to the file named by
# RECORDED_URLS_FILE (which the test sets in the program's environment).
[ -n "${RECORDED_URLS_FILE:-}" ] || exit 1
printf '%s\n' "$1" >>"$RECORDED_URLS_FILE"
