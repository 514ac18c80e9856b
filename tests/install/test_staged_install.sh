#!/usr/bin/env bash
# Installs into a private folder as a packager would and checks what a desktop sees: the
# desktop entry and the AppStream data validate, the man page and the changelog are
# compressed as Debian keeps them, the staged program runs and reads the staged disc list
# (not one beside the program, nor a user's own), and folders are offered to Ketrilo
# without it becoming their default. The staged program carries none of the tests' hooks.
# Arguments: the build folder.
set -euo pipefail
build=$1
stage=$(mktemp -d "${TMPDIR:-/tmp}/ketrilo-stage.XXXXXX")
trap 'rm -rf "$stage"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$stage" >/dev/null
for f in bin/ketrilo share/ketrilo/ketrilodisclist.ini share/man/man1/ketrilo.1.gz \
    share/doc/ketrilo/copyright share/doc/ketrilo/changelog.gz \
    share/mime/packages/io.github.ketrilo.Ketrilo.xml \
    share/icons/hicolor/scalable/apps/io.github.ketrilo.Ketrilo.svg; do
    [ -f "$stage/$f" ] || fail "$f is not installed"
done
man_page=$(zcat "$stage/share/man/man1/ketrilo.1.gz")
[[ $man_page == *'list\-profiles'* ]] || fail "the man page does not read as a gzipped man page"
# The state file the end-to-end tests read is their twin's; the installed program has no
# trace of it.
! grep -qaF KETRILO_STATE_OUT "$stage/bin/ketrilo" || fail "the installed program reads KETRILO_STATE_OUT"
desktop="$stage/share/applications/io.github.ketrilo.Ketrilo.desktop"
desktop-file-validate "$desktop" || fail "the desktop entry does not validate"
appstreamcli validate --no-net "$stage/share/metainfo/io.github.ketrilo.Ketrilo.metainfo.xml" ||
    fail "the AppStream data does not validate"

home=$stage/home
mkdir -p "$home"
run() { (cd "$home" && env -i PATH="$stage/bin:/usr/bin:/bin" HOME="$home" "$@"); }
version=$(run ketrilo --version)
[[ $version =~ ^ketrilo\ [0-9]+\.[0-9]+ ]] || fail "--version prints no version"
changelog=$(zcat "$stage/share/doc/ketrilo/changelog.gz")
[[ $changelog == "ketrilo (${version#ketrilo }) "* ]] || fail "the changelog does not begin with $version"
# The exact command of the menu's entry, with --help for the folder.
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
run ${exec_line/\%f/--help} | grep -qF 'ketrilo --measure' || fail "the menu's command gives no help"
# A disc of the staged list, found two folders away from the program: 360000 clusters
# less the one the list itself takes.
run ketrilo --measure --profile "CD-R 700MB" "$stage/share/ketrilo" | tail -n 1 |
    grep -qF '残り容量:737,277,952バイト' || fail "the staged disc list was not read"

# Folders: Ketrilo is offered for them ("Open With") and never becomes their default. The
# stand-in file manager's entry sorts after Ketrilo's and lies in a folder that comes after
# the staged one: where GLib and xdg-mime would pick Ketrilo if it took folders itself.
others=$stage/others
mkdir -p "$others/applications"
printf '[Desktop Entry]\nType=Application\nName=Files\nExec=true %%U\nMimeType=inode/directory;\n' \
    >"$others/applications/zz-files.desktop"
# What the package's triggers do on a system.
update-desktop-database "$others/applications"
update-desktop-database "$stage/share/applications"
update-mime-database "$stage/share/mime" >/dev/null 2>&1
folders() { (cd "$home" && env -i PATH="$stage/bin:/usr/bin:/bin" HOME="$home" XDG_DATA_DIRS="$1" "${@:2}"); }
before=$others:/usr/share
after=$stage/share:$others:/usr/share
for dirs in "$before" "$after"; do
    gio=$(folders "$dirs" gio mime inode/directory)
    [[ $gio == *": zz-files.desktop"* ]] || fail "gio names another default for folders: $gio"
    xdg=$(folders "$dirs" xdg-mime query default inode/directory)
    [ "$xdg" = zz-files.desktop ] || fail "xdg-mime names another default for folders: $xdg"
done
grep -qxF $'\tio.github.ketrilo.Ketrilo.desktop' <<<"$gio" || fail "folders do not offer Ketrilo: $gio"
echo "PASS: the staged install validates, finds its disc list and leaves folders to the file manager"
