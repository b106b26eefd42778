#!/usr/bin/env bash
# Checks the release zip as a user gets it: the expected files, a code page 932 read-me with CRLF
# line ends, no MinGW runtime imports, and a program that, unpacked into a new folder and started
# in a Wine prefix of its own, creates its data folder beside itself and today's day file.
# Usage: check-package.sh BUILD_DIR   (needs an X display; without one it runs under xvfb-run)
set -u
[ $# -eq 1 ] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi
BUILD=$1

WORK=$(mktemp -d /tmp/vantle-package.XXXXXX)
PREFIX=$WORK/prefix
program=""
cleanup() {
  # The prefix is thrown away, so ending its wineserver ends the program and Wine's helpers.
  if [ -d "$PREFIX" ]; then
    WINEPREFIX=$PREFIX wineserver -k >/dev/null 2>&1 </dev/null
    WINEPREFIX=$PREFIX wineserver -w >/dev/null 2>&1 </dev/null
  fi
  [ -z "$program" ] || wait "$program" 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT
fail() {
  echo "check-package: FAIL: $*" >&2
  for log in "$WORK/wineboot.log" "$WORK/vantle.log"; do
    [ -s "$log" ] && { echo "--- $(basename "$log"):" >&2; tail -n 20 "$log" >&2; }
  done
  exit 1
}

shopt -s nullglob
zips=("$BUILD"/package/vantle-*.zip)
[ ${#zips[@]} -eq 1 ] || fail "expected one package $BUILD/package/vantle-*.zip, found ${#zips[@]}"
ZIP=${zips[0]}
VERSION=$(basename "$ZIP" .zip)
VERSION=${VERSION#vantle-}
echo "check-package: $ZIP"

# Exactly the program, its two libraries and the read-me, in one folder Vantle.
listing=$(unzip -Z1 "$ZIP" | LC_ALL=C sort | tr '\n' ' ')
want="Vantle/ Vantle/README-ja.txt Vantle/TransG32.DLL Vantle/hookdll.dll Vantle/vantle.exe "
[ "$listing" = "$want" ] || fail "the zip holds '$listing', expected '$want'"
unzip -q "$ZIP" -d "$WORK/unpacked" || fail "the zip does not unpack"
DIR=$WORK/unpacked/Vantle

readme=$DIR/README-ja.txt
iconv -f CP932 -t UTF-8 "$readme" >"$WORK/readme.txt" 2>"$WORK/iconv.log" \
  || fail "README-ja.txt is not code page 932 text: $(cat "$WORK/iconv.log")"
bare=$(grep -c -v $'\r$' "$readme")
[ "$bare" -eq 0 ] || fail "README-ja.txt has $bare lines without CRLF"
grep -q 'data' "$WORK/readme.txt" || fail "README-ja.txt does not name the data folder"
grep -q "Vantle  PC活動記録測定ソフト  Version $VERSION" "$WORK/readme.txt" \
  || fail "README-ja.txt does not carry the title of version $VERSION"

for file in vantle.exe hookdll.dll TransG32.DLL; do
  runtime=$(x86_64-w64-mingw32-objdump -p "$DIR/$file" | sed -n 's/^[[:space:]]*DLL Name: //p' | grep -i '^lib.*\.dll$' | tr '\n' ' ')
  [ -z "$runtime" ] || fail "$file imports MinGW runtime DLLs: $runtime"
done

export WINEPREFIX=$PREFIX LC_ALL=ja_JP.UTF-8 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineboot -i >"$WORK/wineboot.log" 2>&1 </dev/null
[ -d "$PREFIX/drive_c/windows" ] || fail "wineboot did not create the prefix $PREFIX"
echo disable >"$PREFIX/.update-timestamp"
echo "check-package: fresh prefix ready after ${SECONDS}s"

# Started from another folder: the data must land beside the program, not in the working folder.
today=$(date +%Y%m%d).dat
cd "$WORK" || fail "cannot enter $WORK"
wine "$DIR/vantle.exe" >"$WORK/vantle.log" 2>&1 </dev/null &
program=$!

day=""
for _ in $(seq 120); do
  # Near midnight the program may have started on either day.
  for name in "$today" "$(date +%Y%m%d).dat"; do
    [ -f "$DIR/data/$name" ] && { day=$name; break 2; }
  done
  [ ! -e "$WORK/data" ] || fail "the data folder was created in the working folder, not beside vantle.exe"
  kill -0 "$program" 2>/dev/null || fail "vantle.exe ended before it created its day file"
  sleep 0.25
done
[ -n "$day" ] || fail "no data/$today beside vantle.exe after 30 s"
# The file is created empty and filled by one write right after.
for _ in $(seq 20); do
  [ "$(stat -c %s "$DIR/data/$day")" -ge 2880 ] && break
  sleep 0.25
done
size=$(stat -c %s "$DIR/data/$day")
[ "$size" -eq 2880 ] || fail "data/$day has $size bytes, expected 2880"
# A new day file is all -1 (no data). Only a slot that ended during this run may have been written
# since, and nothing moved the pointer or pressed a key: at most that slot's three values, as 0.
values=$(od -An -v -tx4 "$DIR/data/$day" | tr -s ' \n' '\n' | grep -v '^$')
other=$(printf '%s\n' "$values" | grep -c -v -E '^(ffffffff|00000000)$')
zeros=$(printf '%s\n' "$values" | grep -c '^00000000$')
if [ "$other" -ne 0 ] || [ "$zeros" -gt 3 ]; then
  fail "data/$day is not a new day file: $other values neither -1 nor 0, $zeros zeros"
fi
# Nothing outside the prefix marks that the rest of the start-up went well: the program is given a
# second in which an early end would show.
sleep 1
kill -0 "$program" 2>/dev/null || fail "vantle.exe ended right after it created its day file"
echo "check-package: vantle.exe started from the package and recorded into data/$day after ${SECONDS}s"
echo "check-package: PASS"
