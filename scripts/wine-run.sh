#!/usr/bin/env bash
# Runs one Windows program under Wine in the build's own prefix with the Japanese ANSI code page,
# unless LC_ALL is given (empty: the locale of LANG and LC_CTYPE, as the language runs set it).
# Output goes through a file: Wine's helper processes would hold a pipe open.
set -u
: "${WINEPREFIX:?WINEPREFIX must name the Wine prefix of the build}"
export WINEPREFIX LC_ALL="${LC_ALL-ja_JP.UTF-8}" WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree,mshtml="
log=$(mktemp)
wine "$@" >"$log" 2>&1 </dev/null
rc=$?
cat "$log"
rm -f "$log"
exit $rc
