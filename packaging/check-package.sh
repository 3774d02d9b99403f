#!/usr/bin/env bash
# check-package.sh <package.deb>
#
# Checks a built Debian package of Brimvale Edit, so that `make package` fails on a
# regression: the files it must hold, lintian without errors, the software-centre entry,
# the desktop entry and the file type valid, and the installed program answering from
# /usr/bin in a scratch root.
set -euo pipefail
deb=$1
failed=0
fail() { echo "check-package: $*" >&2; failed=1; }

listing=$(dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|')
expect() { grep -qxF "$1" <<<"$listing" || fail "missing in the package: $1"; }

expect /usr/lib/brimvale-edit/brimvale-edit
for data in english.sel italiano.sel deutsch.sel espanol.sel francais.sel portugues.sel polski.sel russkij.sel \
            demo-phone.sec 0032_0001.seem; do
    expect "/usr/lib/brimvale-edit/$data"
done
# Qt's own translations, which the language files name with Main.Locale, come with the package.
dpkg-deb -f "$deb" Depends | grep -q 'qt6-translations-l10n' || fail "qt6-translations-l10n is not a dependency"
# Every program of the program folder (brimvale-cli once it is built) has its launcher and manual page.
programs=$(dpkg-deb --fsys-tarfile "$deb" | tar -tvf - ./usr/lib/brimvale-edit/ \
           | awk '$1 ~ /^-..x/ {print $6}' | xargs -n1 basename)
for program in $programs; do
    expect "/usr/bin/$program"
    expect "/usr/share/man/man1/$program.1.gz"
done
expect /usr/share/applications/brimvale-edit.desktop
expect /usr/share/mime/packages/brimvale-edit.xml
expect /usr/share/metainfo/org.example.brimvale.edit.metainfo.xml
expect /usr/share/icons/hicolor/scalable/apps/brimvale-edit.svg
expect /usr/share/icons/hicolor/64x64/apps/brimvale-edit.png
expect /usr/share/doc/brimvale-edit/copyright
expect /usr/share/doc/brimvale-edit/changelog.gz
echo "check-package: $(wc -l <<<"$listing") entries, programs: $(echo $programs)"

lintian --allow-root --fail-on error --info --pedantic "$deb" || fail "lintian reports errors"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml || fail "metainfo not valid"
desktop-file-validate "$root"/usr/share/applications/brimvale-edit.desktop || fail "desktop entry not valid"
# The file type compiles into a MIME database that maps both extensions to it.
mkdir -p "$root/mime/packages"
cp "$root"/usr/share/mime/packages/brimvale-edit.xml "$root/mime/packages/"
if XDG_DATA_DIRS="$root" update-mime-database "$root/mime" >/dev/null; then
    for glob in '*.seem' '*.sch'; do
        grep -qF "application/x-seem:$glob" "$root/mime/globs2" || fail "file type lacks $glob"
    done
    ! grep -qF "application/x-seem:*.bin" "$root/mime/globs2" || fail "file type claims *.bin"
else
    fail "file type not valid"
fi

# The launchers start the programs in the program folder: the version answers, and a
# command line the windows' program refuses ends with status 2 before any window.
export QT_QPA_PLATFORM=offscreen
for program in $programs; do
    "$root/usr/bin/$program" --version >/dev/null || fail "$program --version fails"
done
status=0
"$root/usr/bin/brimvale-edit" one.seem two.seem 2>"$root/usage" || status=$?
[ "$status" -eq 2 ] && grep -q '^Usage: brimvale-edit' "$root/usage" || fail "two files: status $status, not 2 with a usage line"

# A setting file in the per-user folder of a fresh home is found, and chosen before the
# shipped one for the same SEEM and record.
home=$(mktemp -d -p "$root")
mkdir -p "$home/.local/share/brimvale-edit"
cp "$root/usr/lib/brimvale-edit/demo-phone.sec" "$home/.local/share/brimvale-edit/mine.sec"
env -u XDG_DATA_HOME HOME="$home" "$root/usr/bin/brimvale-cli" show --format json \
    "$root/usr/lib/brimvale-edit/0032_0001.seem" >"$root/shown" || fail "brimvale-cli show fails with a fresh home"
grep -qF '"settingFile": "mine.sec"' "$root/shown" || fail "the per-user setting file is not chosen first"
env -u XDG_DATA_HOME HOME="$home" "$root/usr/bin/brimvale-cli" list | grep -q '^mine\.sec  *per-user' \
    || fail "brimvale-cli list does not show the per-user setting file"

[ "$failed" -eq 0 ] && echo "check-package: $deb passed every check"
exit "$failed"
