#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks the programs, their manual pages, the
# documents, the desktop entry, the icons and the AppStream metadata.
# usage: check-install.sh <cmake> <build dir> <bindir> <datadir> gui|nogui <program>...
set -euo pipefail

cmake=$1 build=$2 bindir=$3 datadir=$4 gui=$5
shift 5
programs=("$@")

prefix=$(mktemp -d)
manifest="$build/install_manifest.txt"
saved=""
# A real installation's manifest (used to uninstall) must survive this test.
if [[ -f "$manifest" ]]; then
    saved=$(mktemp)
    cp "$manifest" "$saved"
fi
cleanup() {
    rm -rf "$prefix"
    if [[ -n "$saved" ]]; then
        mv "$saved" "$manifest"
    else
        rm -f "$manifest"
    fi
}
trap cleanup EXIT

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

env -u DESTDIR "$cmake" --install "$build" --prefix "$prefix" >/dev/null

for program in "${programs[@]}"; do
    [[ -x "$prefix/$bindir/$program" ]] || fail "$bindir/$program is not installed"
    # Each program has its manual page in English and Japanese, compressed.
    for man in man1 ja/man1; do
        [[ -f "$prefix/$datadir/man/$man/$program.1.gz" ]] || fail "no $man/$program.1.gz"
    done
done
for doc in README.md copyright changelog.gz; do
    [[ -f "$prefix/$datadir/doc/zentrix/$doc" ]] || fail "no doc/zentrix/$doc"
done

if [[ "$gui" == gui ]]; then
    desktop="$prefix/$datadir/applications/zentrix.desktop"
    if [[ ! -f "$desktop" ]]; then
        fail "no desktop entry"
    else
        for key in Name 'Name\[ja\]' Comment 'Comment\[ja\]' Exec Icon Terminal Categories; do
            grep -q "^$key=" "$desktop" || fail "desktop entry has no $key"
        done
        exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
        [[ -x "$prefix/$bindir/$exec_name" ]] || fail "Exec=$exec_name is not an installed program"
        icon_name=$(sed -n 's/^Icon=//p' "$desktop")
        [[ "$icon_name" == zentrix ]] || fail "Icon=$icon_name, not zentrix"
    fi

    # Each PNG must be in the folder of its own size: width and height are big-endian at 16 and 20.
    for size in 16 32 48 64 128 256; do
        png="$prefix/$datadir/icons/hicolor/${size}x${size}/apps/zentrix.png"
        if [[ ! -f "$png" ]]; then
            fail "no ${size}x${size} icon"
            continue
        fi
        read -r width height < <(od -An -tu1 -j16 -N8 "$png" |
            awk '{ print $1*16777216 + $2*65536 + $3*256 + $4, $5*16777216 + $6*65536 + $7*256 + $8 }')
        [[ "$width" == "$size" && "$height" == "$size" ]] ||
            fail "${size}x${size}/apps/zentrix.png is ${width}x${height}"
    done
    [[ -f "$prefix/$datadir/icons/hicolor/scalable/apps/zentrix.svg" ]] || fail "no scalable icon"
    # The software-centre metadata launches the installed menu entry.
    metainfo=$(find "$prefix/$datadir/metainfo" -name '*.metainfo.xml' 2>/dev/null | head -n 1)
    if [[ -z "$metainfo" ]]; then
        fail "no AppStream metainfo"
    else
        grep -q '<launchable type="desktop-id">zentrix.desktop</launchable>' "$metainfo" ||
            fail "the metainfo does not launch zentrix.desktop"
    fi

    if command -v desktop-file-validate >/dev/null 2>&1; then
        if [[ -f "$desktop" ]] && ! desktop-file-validate "$desktop"; then
            fail "desktop-file-validate rejects the entry"
        fi
    else
        echo "desktop-file-validate is missing (package desktop-file-utils): not validated" >&2
        [[ $failures -eq 0 ]] && exit 77
    fi
fi

if [[ $failures -ne 0 ]]; then
    exit 1
fi
echo "installed and checked: ${programs[*]}, manual pages, documents, desktop entry, icons, metainfo"
