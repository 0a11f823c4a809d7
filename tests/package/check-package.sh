#!/usr/bin/env bash
# Checks a built zentrix .deb the way Debian and software centres look at it: its control fields
# and file list, lintian, the AppStream metadata, and the tree it installs, extracted into a
# scratch root: the programs run, the menu entry validates, the manual pages render.
# usage: check-package.sh <zentrix_VERSION_ARCH.deb> <version>
set -euo pipefail

deb=$(realpath "$1")
version=$2
here=$(dirname "$(realpath "$0")")

for tool in dpkg-deb lintian appstreamcli desktop-file-validate man; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "check-package: $tool is missing; run scripts/install-deps" >&2
        exit 1
    fi
done

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

echo "== $(basename "$deb")"
dpkg-deb --info "$deb"
dpkg-deb --contents "$deb"

field() { dpkg-deb --field "$deb" "$1"; }
[[ "$(field Package)" == zentrix ]] || fail "Package is $(field Package)"
[[ "$(field Version)" == "$version" ]] || fail "Version is $(field Version), not $version"
arch=$(field Architecture)
[[ "$(basename "$deb")" == "zentrix_${version}_${arch}.deb" ]] || fail "file name $(basename "$deb")"

# Libraries come from the binaries; the font and Qt's Japanese texts are loaded without linking.
depends=$(field Depends)
names=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/[ (].*//')
for dep in fonts-ipafont-gothic qt6-translations-l10n libqt6widgets6 libqt6printsupport6 libqt6core6 \
    libstdc++6 libc6; do
    grep -qxF "$dep" <<<"$names" || fail "Depends lacks $dep: $depends"
done

# Nothing runs on install or removal, so removing the package cannot touch the user's
# Loto6data.dt or predictions; and every file lives under /usr.
scripts=$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -E '(preinst|postinst|prerm|postrm)$' || true)
[[ -z "$scripts" ]] || fail "maintainer scripts: $scripts"
outside=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -Ev '^\./$|^\./usr/' || true)
[[ -z "$outside" ]] || fail "files outside /usr: $outside"
data=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -Ei 'Loto6data|\.dt$' || true)
[[ -z "$data" ]] || fail "the package carries a data file: $data"

echo "== lintian"
# Errors and warnings fail; the remaining informational tags are listed and explained in
# docs/packaging.md.
lintian_status=0
lintian_out=$(lintian --fail-on error,warning --display-level '>=info' "$deb" 2>&1) || lintian_status=$?
grep -v '^running with root' <<<"$lintian_out" || true
[[ $lintian_status -eq 0 ]] || fail "lintian reports errors or warnings (status $lintian_status)"

dpkg-deb -x "$deb" "$root"
usr=$root/usr

echo "== AppStream"
metainfo=("$usr"/share/metainfo/*.metainfo.xml)
if [[ ${#metainfo[@]} -ne 1 || ! -f "${metainfo[0]}" ]]; then
    fail "expected one metainfo file, found: ${metainfo[*]}"
else
    # Offline: the screenshot and home-page addresses are not fetched.
    appstreamcli validate --no-net --pedantic "${metainfo[0]}" || fail "appstreamcli validate"
    launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "${metainfo[0]}")
    [[ -n "$launchable" && -f "$usr/share/applications/$launchable" ]] ||
        fail "the metainfo launches '$launchable', which the package does not install"
    release=$(grep -o '<release version="[^"]*" date="[^"]*"' "${metainfo[0]}" | head -n 1)
    release_date=$(cut -d'"' -f4 <<<"$release")
    [[ "$(cut -d'"' -f2 <<<"$release")" == "$version" ]] ||
        fail "newest AppStream release is '$release', not $version"
    for binary in $(sed -n 's:.*<binary>\(.*\)</binary>.*:\1:p' "${metainfo[0]}"); do
        [[ -x "$usr/bin/$binary" ]] || fail "the metainfo provides $binary, which is not installed"
    done
fi

echo "== installed tree"
for program in zentrix zentrix-cli; do
    [[ -x "$usr/bin/$program" ]] || fail "usr/bin/$program is missing"
done
desktop=$usr/share/applications/zentrix.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects zentrix.desktop"
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[[ -x "$usr/bin/$exec_name" ]] || fail "the menu entry starts '$exec_name', which is not installed"
icon=$(sed -n 's/^Icon=//p' "$desktop")
[[ -f "$usr/share/icons/hicolor/48x48/apps/$icon.png" ]] || fail "no 48x48 icon named $icon"

help=$(env -u DISPLAY -u WAYLAND_DISPLAY "$usr/bin/zentrix" --help) || fail "zentrix --help fails"
grep -q '^使い方: zentrix' <<<"$help" || fail "zentrix --help is not the Japanese help"

# The stripped command line works on real data: import three draws, then generate from them.
work=$root/work
mkdir "$work"
printf 'draw,date,n1,n2,n3,n4,n5,n6,bonus\n1,,1,5,12,20,33,41,7\n2,,3,8,15,22,30,43,9\n3,,2,9,17,25,36,40,11\n' \
    >"$work/draws.csv"
(cd "$work" && "$usr/bin/zentrix-cli" import draws.csv >/dev/null) || fail "zentrix-cli import fails"
sets=$(cd "$work" && "$usr/bin/zentrix-cli" generate --sets 3 --seed 7) || fail "zentrix-cli generate fails"
[[ $(grep -c '→' <<<"$sets") -eq 3 ]] || fail "zentrix-cli generate printed: $sets"

doc=$usr/share/doc/zentrix
for file in copyright changelog.gz README.md; do
    [[ -f "$doc/$file" ]] || fail "usr/share/doc/zentrix/$file is missing"
done
grep -q '^License: Expat' "$doc/copyright" || fail "the copyright file names no licence"
top=$(gzip -dc "$doc/changelog.gz" | head -n 1)
[[ "$top" == "zentrix ($version) "* ]] || fail "the changelog starts with '$top'"

# One release, one date: the changelog's newest entry, the AppStream release and the manual pages.
signed=$(gzip -dc "$doc/changelog.gz" | sed -n 's/^ -- .*>  //p' | head -n 1)
changelog_date=$(date -u -d "$signed" +%F 2>/dev/null || echo "'$signed'")
[[ "$changelog_date" == "${release_date:-}" ]] ||
    fail "the changelog's newest entry is dated $changelog_date, the AppStream release ${release_date:-}"
for page in "$usr"/share/man/man1/*.1.gz "$usr"/share/man/ja/man1/*.1.gz; do
    page_date=$(gzip -dc "$page" | sed -n 's/^\.TH [^"]*"\([^"]*\)".*/\1/p')
    [[ "$page_date" == "${release_date:-}" ]] ||
        fail "${page#"$usr"/} is dated $page_date, the release ${release_date:-}"
done

"$here/check-manuals.sh" "$usr/share/man" "$version" "$usr/bin/zentrix-cli" "$usr/bin/zentrix" ||
    fail "manual pages"

if [[ $failures -ne 0 ]]; then
    echo "check-package: $failures failures" >&2
    exit 1
fi
echo "check-package: $(basename "$deb") passes"
