#!/usr/bin/env bash
# Takes the pictures of the graph window and of the about box, the totals, apps, share, keyboard
# and calendar windows and the totals window on all PCs in front of it for the documentation: the
# built program with three weeks of made-up working days, and another PC's in a share folder,
# under Wine on a virtual screen of its own. Builds nothing. The other pictures go beside the
# first, as about-box.png, totals-window.png, apps-window.png, share-window.png,
# totals-all-pcs.png, keyboard-window.png and calendar-window.png. With "en" the program runs in
# an English UI and the pictures are named with "-en" (docs/graph-window-en.png and beside it).
# Usage: scripts/screenshot.sh [build-dir] [picture] [en]   (defaults: build, docs/graph-window.png)
# The build dir must hold bin/ with vantle.exe, its two libraries and e2e_tests.exe (which
# opens the window and ends the program), and the Wine prefix (WINEPREFIX, else build/wineprefix).
set -eu
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=$(cd "${1:-$ROOT/build}" && pwd)
LANGUAGE_SUFFIX=""
[ "${3:-}" = en ] && LANGUAGE_SUFFIX=-en
OUT=${2:-$ROOT/docs/graph-window$LANGUAGE_SUFFIX.png}
BIN=$BUILD/bin
for file in vantle.exe hookdll.dll TransG32.DLL e2e_tests.exe; do
  [ -f "$BIN/$file" ] || { echo "screenshot: $BIN/$file is missing; build first" >&2; exit 1; }
done
for tool in wine xvfb-run import python3; do
  command -v $tool >/dev/null || { echo "screenshot: $tool is not installed (scripts/setup.sh)" >&2; exit 1; }
done
export WINEPREFIX=${WINEPREFIX:-$BUILD/wineprefix}
[ -f "$WINEPREFIX/system.reg" ] || { echo "screenshot: no Wine prefix at $WINEPREFIX (scripts/setup.sh)" >&2; exit 1; }
export LC_ALL=ja_JP.UTF-8 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine takes the UI language from LANG (English where it is not Japanese) and the code page from
# LC_CTYPE.
[ -n "$LANGUAGE_SUFFIX" ] && export LC_ALL= LANG=en_US.UTF-8 LC_CTYPE=C.UTF-8

# A program folder of its own; its data folder holds today's file and those of 20 days before. A
# share folder beside it holds another PC's days as that PC publishes them, and the data folder's
# settings name it.
DIR=$BUILD/screenshot
OTHER_PC="{5A1E0000-0000-4000-8000-000000000001}"
rm -rf "$DIR"
mkdir -p "$DIR/data" "$DIR/shot" "$DIR/share/$OTHER_PC"
cp "$BIN/vantle.exe" "$BIN/hookdll.dll" "$BIN/TransG32.DLL" "$DIR/"
printf '[Share]\r\nFolder=%s\r\n' "$(winepath -w "$DIR/share" 2>/dev/null)" >"$DIR/data/vantle.ini"
printf '[PC]\r\nId=%s\r\nName=HOME-PC\r\nComputer=HOME-PC\r\nUtcOffset=540\r\n' "$OTHER_PC" >"$DIR/share/$OTHER_PC/pc.ini"
for folder in "$DIR/data" "$DIR/share/$OTHER_PC"; do
python3 - "$folder" <<'PYTHON'
# Day files of made-up data: 720 little-endian 32-bit values, clicks, key touches and pointer
# travel for the 240 six-minute slots; -1 where the computer was off. The other PC's days are
# evenings.
import datetime, os, random, struct, sys

folder = sys.argv[1]
other = "share" in folder
now = datetime.datetime.now()
current = now.hour * 10 + now.minute // 6
# A day off in the second week before: no file, so its rows are grey.
day_off = next(k for k in range(8, 15) if (now.date() - datetime.timedelta(days=k)).weekday() == 2)
for k in range(21):
    day = now.date() - datetime.timedelta(days=k)
    if k == day_off:
        continue
    rnd = random.Random(day.toordinal() * 2 + other)
    clicks, keys, moves = [-1] * 240, [-1] * 240, [-1] * 240
    if other:
        on, off = rnd.randint(195, 205), rnd.randint(215, 230)
        meeting, breaks = -100, set()
    elif day.weekday() < 5:
        on, off = 84 + rnd.randint(-4, 4), 186 + rnd.randint(-3, 12)
        meeting = rnd.randint(95, 160)
        breaks = {rnd.randint(on + 5, off - 5) for _ in range(rnd.randint(0, 2))}
    else:
        # A weekend: now and then a short look in the afternoon.
        on = rnd.randint(130, 150) if rnd.random() < 0.6 else 0
        off = on + rnd.randint(5, 18) if on else 0
        meeting, breaks = -100, set()
    for s in range(on, off):
        if any(b <= s < b + 3 for b in breaks):
            continue  # the computer was asleep
        working = 90 <= s < 180 or other
        if 120 <= s < 130:    # lunch
            c, t = rnd.randint(0, 6), rnd.randint(0, 20)
        elif meeting <= s < meeting + 10:
            c, t = rnd.randint(0, 3), 0
        elif working or day.weekday() >= 5:
            c = rnd.randint(15, 120)
            t = rnd.choice([0, rnd.randint(20, 200), rnd.randint(200, 900)])
        else:
            c, t = rnd.randint(0, 25), rnd.randint(0, 60)
        clicks[s], keys[s] = c, t
        moves[s] = c * rnd.randint(60, 220) + rnd.randint(0, 1500) if c or t else 0
    if k == 0:
        # Today: recorded up to now; the program starts the current slot itself.
        for series in (clicks, keys, moves):
            series[current:] = [-1] * (240 - current)
    name = os.path.join(folder, day.strftime("%Y%m%d") + ".dat")
    with open(name, "wb") as f:
        f.write(struct.pack("<720i", *(clicks + keys + moves)))
    # The day's apps file: its totals shared among a few applications, the rest to the first.
    sums = [sum(v for v in series if v > 0) for series in (clicks, keys, moves)]
    seconds = sum(1 for s in range(240) if max(clicks[s], keys[s], moves[s]) > 0) * 300
    shares = [("excel.exe", 38, 20, 35, 36), ("msedge.exe", 27, 12, 30, 24), ("outlook.exe", 14, 30, 12, 17),
              ("code.exe", 8, 31, 9, 13), ("teams.exe", 7, 5, 8, 6), ("explorer.exe", 6, 2, 6, 4)]
    rows = []
    for app, *pct in shares[1:]:
        rows.append([app] + [total * p // 100 for total, p in zip(sums + [seconds], pct)])
    rows.insert(0, [shares[0][0]] + [total - sum(r[i + 1] for r in rows) for i, total in enumerate(sums + [seconds])])
    rows.sort(key=lambda r: (-r[4], -r[1]))
    with open(os.path.join(folder, day.strftime("%Y%m%d") + ".apps.txt"), "w", encoding="utf-8", newline="") as f:
        f.write("アプリ\tマウスクリック回数\tキータッチ回数\tマウスの動き\t活動秒数\r\n")
        for r in rows:
            f.write("\t".join(str(v) for v in r) + "\r\n")
    # The day's keys file: the key touches shared among the keys as text and a little editing
    # spread them, the clicks among the buttons, a few side buttons and wheel notches.
    weights = {0x39: 160, 0x12: 100, 0x1E: 80, 0x14: 75, 0x18: 74, 0x31: 70, 0x17: 68, 0x1F: 62, 0x19: 40,
               0x23: 60, 0x13: 58, 0x26: 40, 0x20: 43, 0x16: 28, 0x2E: 28, 0x32: 24, 0x21: 22, 0x22: 20,
               0x11: 24, 0x15: 20, 0x30: 15, 0x2F: 10, 0x25: 8, 0x2D: 2, 0x10: 1, 0x2C: 1, 0x0E: 45,
               0x1C: 30, 0x2A: 35, 0x1D: 25, 0x0F: 12, 0x33: 14, 0x34: 18, 0x02: 6, 0x03: 5, 0x04: 4,
               0x0B: 4, 0x38: 6, 0x01: 4, 0x153: 5, 0x14B: 9, 0x14D: 9, 0x148: 6, 0x150: 7, 0x15B: 1}
    whole = sum(weights.values())
    lines = []
    share = {k: sums[1] * w // whole for k, w in weights.items()}
    share[0x39] += sums[1] - sum(share.values())
    for k in sorted(share):
        if share[k] > 0:
            lines.append(("SCE0%02X" % (k & 0xFF) if k >= 0x100 else "SC%02X" % k, share[k]))
    left, right = sums[0] * 86 // 100, sums[0] * 12 // 100
    for name, value in (("LBUTTON", left), ("RBUTTON", right), ("MBUTTON", sums[0] - left - right),
                        ("XBUTTON1", sums[0] // 40), ("XBUTTON2", sums[0] // 200), ("WHEEL", sums[0] // 3)):
        if value > 0:
            lines.append((name, value))
    with open(os.path.join(folder, day.strftime("%Y%m%d") + ".keys.txt"), "w", encoding="utf-8", newline="") as f:
        f.write("キー\t回数\r\n")
        for name, value in lines:
            f.write("%s\t%d\r\n" % (name, value))
PYTHON
done

export DIR BIN
# One display and one wineserver; both end with the run. Program and helper share a Wine virtual
# desktop as large as the display: there Wine draws the window's caption and frame itself,
# which on a bare X display without a window manager nobody would.
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -u
  desktop="explorer /desktop=Vantle,1024x768"
  wineserver -p >/dev/null 2>&1 </dev/null
  wine $desktop "$DIR/vantle.exe" >"$DIR/program.log" 2>&1 </dev/null &
  # The helper opens the graph window, writes its place, waits for "window.taken", does the same
  # for the about box and the totals, apps, keyboard and calendar windows, then ends the program.
  # The launchers return at once, so the run is followed through these files.
  VANTLE_SHOT=1 VANTLE_SHOT_DIR=$(winepath -w "$DIR/shot" 2>/dev/null) \
    wine $desktop "$BIN/e2e_tests.exe" --gtest_filter=GraphShot.Open --gtest_color=no \
    >"$DIR/helper.log" 2>&1 </dev/null &
  finished() { grep -q "^\[==========\] .* ran\." "$DIR/helper.log" 2>/dev/null; }
  shoot() {
    for _ in $(seq 600); do
      [ -f "$DIR/shot/$1.txt" ] && break
      finished && break
      sleep 0.1
    done
    local ok=1
    if [ -f "$DIR/shot/$1.txt" ]; then
      read -r x y w h <"$DIR/shot/$1.txt"
      import -window root -crop "${w}x${h}+${x}+${y}" +repage "$DIR/shot/$1.png" && ok=0
    fi
    touch "$DIR/shot/$1.taken"
    return $ok
  }
  rc=0
  shoot window || rc=1
  shoot about || rc=1
  shoot totals || rc=1
  shoot apps || rc=1
  shoot share || rc=1
  shoot totals-all || rc=1
  shoot keyboard || rc=1
  shoot calendar || rc=1
  for _ in $(seq 300); do finished && break; sleep 0.2; done
  grep -q "^\[  PASSED  \] 1 test" "$DIR/helper.log" || rc=1
  # The helper has seen the program end with exit code 0; what is left is Wine'"'"'s desktop.
  sleep 1
  wineserver -k >/dev/null 2>&1 </dev/null
  exit $rc' || { echo "screenshot: failed; see $DIR/helper.log" >&2; cat "$DIR/helper.log" >&2; exit 1; }

mkdir -p "$(dirname "$OUT")"
cp "$DIR/shot/window.png" "$OUT"
cp "$DIR/shot/about.png" "$(dirname "$OUT")/about-box$LANGUAGE_SUFFIX.png"
cp "$DIR/shot/totals.png" "$(dirname "$OUT")/totals-window$LANGUAGE_SUFFIX.png"
cp "$DIR/shot/apps.png" "$(dirname "$OUT")/apps-window$LANGUAGE_SUFFIX.png"
cp "$DIR/shot/share.png" "$(dirname "$OUT")/share-window$LANGUAGE_SUFFIX.png"
cp "$DIR/shot/totals-all.png" "$(dirname "$OUT")/totals-all-pcs$LANGUAGE_SUFFIX.png"
cp "$DIR/shot/keyboard.png" "$(dirname "$OUT")/keyboard-window$LANGUAGE_SUFFIX.png"
cp "$DIR/shot/calendar.png" "$(dirname "$OUT")/calendar-window$LANGUAGE_SUFFIX.png"
echo "screenshot: $OUT $(dirname "$OUT")/about-box$LANGUAGE_SUFFIX.png $(dirname "$OUT")/totals-window$LANGUAGE_SUFFIX.png" \
     "$(dirname "$OUT")/apps-window$LANGUAGE_SUFFIX.png" "$(dirname "$OUT")/keyboard-window$LANGUAGE_SUFFIX.png" \
     "$(dirname "$OUT")/calendar-window$LANGUAGE_SUFFIX.png"
