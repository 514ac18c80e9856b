#!/usr/bin/env bash
# Installs into a private folder as a packager would and checks what a desktop sees: the
# desktop entry and the AppStream data validate, and the staged program runs and reads the
# staged disc list (not one beside the program, nor a user's own). The staged program
# carries none of the tests' hooks.
# Arguments: the build folder.
set -euo pipefail
build=$1
stage=$(mktemp -d "${TMPDIR:-/tmp}/ketrilo-stage.XXXXXX")
trap 'rm -rf "$stage"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$stage" >/dev/null
for f in bin/ketrilo share/ketrilo/ketrilodisclist.ini share/man/man1/ketrilo.1 \
    share/icons/hicolor/scalable/apps/io.github.ketrilo.Ketrilo.svg; do
    [ -f "$stage/$f" ] || fail "$f is not installed"
done
# The state file the end-to-end tests read is their twin's; the installed program has no
# trace of it.
! grep -qaF KETRILO_STATE_OUT "$stage/bin/ketrilo" || fail "the installed program reads KETRILO_STATE_OUT"
desktop="$stage/share/applications/io.github.ketrilo.Ketrilo.desktop"
desktop-file-validate "$desktop" || fail "the desktop entry does not validate"
grep -qx 'MimeType=inode/directory;' "$desktop" || fail "the entry does not open folders"
appstreamcli validate --no-net "$stage/share/metainfo/io.github.ketrilo.Ketrilo.metainfo.xml" ||
    fail "the AppStream data does not validate"

home=$stage/home
mkdir -p "$home"
run() { (cd "$home" && env -i PATH="$stage/bin:/usr/bin:/bin" HOME="$home" "$@"); }
run ketrilo --version | grep -qE '^ketrilo [0-9]+\.[0-9]+' || fail "--version prints no version"
# The exact command of the menu's entry, with --help for the folder.
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
run ${exec_line/\%f/--help} | grep -qF 'ketrilo --measure' || fail "the menu's command gives no help"
# A disc of the staged list, found two folders away from the program: 360000 clusters
# less the one the list itself takes.
run ketrilo --measure --profile "CD-R 700MB" "$stage/share/ketrilo" | tail -n 1 |
    grep -qF '残り容量:737,277,952バイト' || fail "the staged disc list was not read"
echo "PASS: the staged install validates and finds its disc list"
