#!/usr/bin/env bash
# Checks the manual pages under a man root (the build's man/ or an installed share/man): each page
# in English and Japanese, compressed, rendering without a single groff warning, carrying the
# release number, and zentrix-cli's page describing every subcommand the program lists.
# usage: check-manuals.sh <man root> <version> <zentrix-cli> [<zentrix>]
set -euo pipefail

man_root=$1 version=$2 cli=$3
gui=${4:-}

if ! command -v man >/dev/null 2>&1; then
    echo "man is missing (package man-db): manual pages not checked" >&2
    exit 77
fi

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

export LC_ALL=C.UTF-8 MANWIDTH=80
pages=(zentrix-cli)
[[ -n "$gui" ]] && pages+=(zentrix)

for sub in man1 ja/man1; do
    for page in "${pages[@]}"; do
        file="$man_root/$sub/$page.1.gz"
        if [[ ! -f "$file" ]]; then
            fail "$sub/$page.1.gz is missing"
            continue
        fi
        gzip -t "$file" || fail "$sub/$page.1.gz is not a valid gzip file"
        # The same check lintian makes: any warning from groff is a fault in the page.
        warnings=$(man --warnings -E UTF-8 -l -Tutf8 -Z "$file" 2>&1 >/dev/null) || true
        [[ -z "$warnings" ]] || fail "$sub/$page.1 renders with warnings: $warnings"
        text=$(man -l "$file" 2>/dev/null) || fail "man -l $sub/$page.1.gz fails"
        header=$(head -n 1 <<<"$text")
        [[ "$header" == *"${page^^}(1)"* ]] || fail "$sub/$page.1 starts with '$header'"
        grep -q "Zentrix $version" <<<"$text" || fail "$sub/$page.1 does not name Zentrix $version"
    done
    # Japanese text must be broken between characters, never joined into overlong lines.
    if [[ "$sub" == ja/* ]]; then
        for page in "${pages[@]}"; do
            width=$(man -l "$man_root/$sub/$page.1.gz" 2>/dev/null | wc -L)
            [[ "$width" -le 80 ]] || fail "$sub/$page.1 has lines $width columns wide, over 80"
        done
    fi
done

# man -L ja must find the Japanese page, and the English one otherwise.
found=$(MANPATH="$man_root" man -L ja -w zentrix-cli 2>/dev/null) || true
[[ "$found" == "$man_root/ja/man1/zentrix-cli.1.gz" ]] || fail "man -L ja finds '$found'"
found=$(MANPATH="$man_root" man -L en -w zentrix-cli 2>/dev/null) || true
[[ "$found" == "$man_root/man1/zentrix-cli.1.gz" ]] || fail "man -L en finds '$found'"

# Every subcommand in zentrix-cli --help has its own section in both languages.
# In the help, options are indented and start with "-"; subcommands are indented lower-case words
# (whatever the heading above them says, so a translated heading changes nothing).
subcommands=$("$cli" --help | awk '/^  [a-z][a-z0-9-]*( |$)/ { print $1 }')
[[ -n "$subcommands" ]] || fail "zentrix-cli --help lists no subcommands"
for sub in man1 ja/man1; do
    source=$(gzip -dc "$man_root/$sub/zentrix-cli.1.gz" 2>/dev/null) || continue
    for command in $subcommands; do
        grep -q "^\.SS \"$command[ \"]" <<<"$source" ||
            fail "$sub/zentrix-cli.1 has no section for the subcommand $command" \
                "(add a .SS \"$command ...\" under COMMANDS in data/man/${sub%man1}zentrix-cli.1.in)"
    done
done

# The pages and the programs give the same release number.
[[ "$("$cli" --version)" == "zentrix-cli (Zentrix) $version" ]] ||
    fail "zentrix-cli --version prints '$("$cli" --version)'"
if [[ -n "$gui" ]]; then
    [[ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$gui" --version)" == "zentrix (Zentrix) $version" ]] ||
        fail "zentrix --version (without a display) does not print zentrix (Zentrix) $version"
fi

if [[ $failures -ne 0 ]]; then
    exit 1
fi
echo "manual pages checked: ${pages[*]} in English and Japanese, subcommands:" $subcommands
