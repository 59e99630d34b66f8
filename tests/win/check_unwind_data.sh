#!/usr/bin/env bash
# check_unwind_data.sh OBJDUMP LIBRARY
# Every function of an x86_64 static library has its unwind data: each non-empty
# .text$NAME section (one per function) has its .pdata$NAME. The decoder's error
# exit longjmps out of libjpeg, and on x86_64 Windows that longjmp unwinds frame by
# frame through libjpeg's functions, which it can only do with their unwind data.
set -euo pipefail
objdump=$1 library=$2
"$objdump" -h "$library" | awk '
  /file format/ { object = $1 }
  $2 ~ /^\.text\$/ && $3 !~ /^0+$/ { name = substr($2, 7); text[object " " name] = 1; functions++ }
  $2 ~ /^\.pdata\$/ { pdata[object " " substr($2, 8)] = 1 }
  END {
    for (f in text) if (!(f in pdata)) { print "no unwind data: " f; missing++ }
    printf "%d functions, %d without unwind data\n", functions, missing
    exit (functions == 0 || missing > 0)
  }'
