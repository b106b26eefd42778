#!/usr/bin/env bash
# The program's layers, lowest first: res, base, store, graph, ui, app. A file includes only from
# its own folder or one below it (hook/, the hook library, only from app/); a bare include names a
# file of its own folder. A record declared `extern` in a folder's header is named by no file of
# another folder (comments and strings aside): the others read it through its owner's functions.
# Prints every breach and fails if there is one.
set -u
ROOT=${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
cd "$ROOT" || exit 2
LAYERS=(res base store graph ui app)
rank() {
    local i
    for i in "${!LAYERS[@]}"; do [ "${LAYERS[$i]}" = "$1" ] && { echo "$i"; return; }; done
    [ "$1" = hook ] && { echo 9; return; }
    echo -1
}
FILES=$(find "${LAYERS[@]}" hook -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.rc' \) | sort)
breaches=0
breach() { echo "layers: $1"; breaches=$((breaches + 1)); }

for file in $FILES; do
    folder=${file%%/*}
    own=$(rank "$folder")
    while IFS= read -r included; do
        if [[ $included != */* ]]; then
            [ -f "$(dirname "$file")/$included" ] || breach "$file includes \"$included\", no file of its own folder"
            continue
        fi
        target=${included%%/*}
        theirs=$(rank "$target")
        if [ "$target" = hook ]; then
            [ "$folder" = app ] || [ "$folder" = hook ] || breach "$file includes \"$included\": only app/ calls the hook library"
        elif [ "$theirs" -lt 0 ] || [ "$own" -eq 9 ] || [ "$theirs" -gt "$own" ]; then
            breach "$file includes \"$included\": $target/ is not below $folder/"
        fi
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done

# Each record: its name and the folder of the header that declares it. Comments and string
# literals are no access, so they are taken out of a copy of every file first.
STRIPPED=$(mktemp -d)
trap 'rm -rf "$STRIPPED"' EXIT
for file in $FILES; do
    mkdir -p "$STRIPPED/$(dirname "$file")"
    sed -e 's://.*$::' -e 's:/\*.*\*/::g' -e 's/"\([^"\\]\|\\.\)*"//g' "$file" >"$STRIPPED/$file"
done
while IFS=: read -r header declaration; do
    name=$(sed 's/^extern [A-Za-z_][A-Za-z0-9_]* \([A-Za-z_][A-Za-z0-9_]*\);.*/\1/' <<<"$declaration")
    owner=${header%%/*}
    others=$(grep -v "^$owner/" <<<"$FILES")
    for file in $(cd "$STRIPPED" && grep -lw "$name" $others); do
        breach "$file names $name, a record of $owner/ ($header)"
    done
done < <(grep -H '^extern [A-Za-z_][A-Za-z0-9_]* [A-Za-z_][A-Za-z0-9_]*;' $(grep '\.h$' <<<"$FILES"))

[ "$breaches" -eq 0 ] && echo "layers: every include runs down, every record is named only by its folder"
[ "$breaches" -eq 0 ]
