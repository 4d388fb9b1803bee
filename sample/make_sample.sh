#!/bin/sh
# Rebuilds Pelko.dat from the readable UTF-8 source next to it:
# Shift_JIS (code page 932) text with CR LF line ends.
set -eu
cd "$(dirname "$0")"
# Two steps rather than a pipe, so a character iconv cannot map stops the script.
iconv -f UTF-8 -t CP932 sample-source.csv > Pelko.dat.tmp
LC_ALL=C sed -i 's/$/\r/' Pelko.dat.tmp
mv Pelko.dat.tmp Pelko.dat
