#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop user
# gets: the layout, the manual's pictures, the menu entry
# (desktop-file-validate, its Exec and Icon), the installed paradrex-cli
# running a small search, and the entry's command starting the installed
# program with its settings folder ~/.config/Paradrex.
#
# Usage: check-install.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
tmp=$(mktemp -d)
pid=""
cleanup() {
    [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT
fail() {
    echo "install test: $*" >&2
    exit 1
}
prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null

for f in bin/paradrex bin/paradrex-cli share/doc/paradrex/index.htm \
    share/doc/paradrex/copyright share/doc/paradrex/changelog.gz \
    share/man/man1/paradrex.1.gz share/man/man1/paradrex-cli.1.gz \
    share/applications/paradrex.desktop share/icons/hicolor/scalable/apps/paradrex.svg; do
    [ -f "$prefix/$f" ] || fail "$f is not installed"
done
for f in bin/paradrex bin/paradrex-cli; do
    [ -x "$prefix/$f" ] || fail "$f is not executable"
done
# Every picture and link target the manual names beside itself is installed.
doc=$prefix/share/doc/paradrex
refs=$(grep -o '\(src\|href\)="[^"#:]*"' "$doc/index.htm" | sed 's/^[a-z]*="//; s/"$//' | sort -u)
[ -n "$refs" ] || fail "the manual shows no screenshot"
while read -r ref; do
    [ -f "$doc/$ref" ] || fail "the manual refers to $ref, which is not installed"
done <<<"$refs"
gzip -t "$prefix/share/doc/paradrex/changelog.gz" || fail "changelog.gz is not gzip"
zcat "$prefix/share/doc/paradrex/changelog.gz" | head -n1 | grep -q "^paradrex ($version) " ||
    fail "the changelog does not start with version $version"

entry=$prefix/share/applications/paradrex.desktop
command -v desktop-file-validate >/dev/null ||
    fail "desktop-file-validate is missing (Debian package desktop-file-utils)"
desktop-file-validate "$entry" || fail "desktop-file-validate rejects $entry"
exec_line=$(sed -n 's/^Exec=//p' "$entry")
[ "$exec_line" = "paradrex --user-settings" ] || fail "unexpected Exec line: $exec_line"
icon=$(sed -n 's/^Icon=//p' "$entry")
[ -f "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no icon $icon.svg"
grep -q "<svg" "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" || fail "the icon is no SVG"

# The installed command-line front end.
mkdir -p "$tmp/home" "$tmp/work" "$tmp/tree/a" "$tmp/tree/b b"
export HOME=$tmp/home
unset XDG_CONFIG_HOME XDG_DATA_HOME
"$prefix/bin/paradrex-cli" --version | grep -qx "paradrex-cli $version" ||
    fail "paradrex-cli --version"
printf same >"$tmp/tree/a/x"
printf same >"$tmp/tree/b b/y"
printf other >"$tmp/tree/a/z"
found=$(cd "$tmp/work" && "$prefix/bin/paradrex-cli" --quiet --no-progress "$tmp/tree" | sort)
expected=$(printf '\n%s\n%s' "$tmp/tree/a/x" "$tmp/tree/b b/y" | sort)
[ "$found" = "$expected" ] || fail "paradrex-cli found:
$found"

# The menu entry's command, as a desktop runs it (the installed bin/ on the
# PATH, started anywhere): Setting.ini and error.log go to ~/.config/Paradrex.
settings=$HOME/.config/Paradrex
(cd "$tmp/work" && QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$tmp/work \
    PATH="$prefix/bin:$PATH" exec $exec_line >"$tmp/program.log" 2>&1) &
pid=$!
for _ in $(seq 100); do
    [ -f "$settings/error.log" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
[ -f "$settings/error.log" ] || fail "the program made no $settings/error.log:
$(cat "$tmp/program.log")"
kill -0 "$pid" 2>/dev/null || fail "the program did not keep running"
[ ! -e "$tmp/work/error.log" ] || fail "error.log was made in the working directory"
echo "install test: layout, menu entry, paradrex-cli and the entry's command are fine"
