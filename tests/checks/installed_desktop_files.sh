#!/bin/sh
# Installs the build into a temporary prefix and validates what the desktop sees of the program:
# the desktop entry, the AppStream metainfo, and the icon the entry names.
# Usage: installed_desktop_files.sh CMAKE BUILD_DIR
set -eu
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
"$1" --install "$2" --prefix "$prefix" >/dev/null
id=io.github.quarvell.Quarvell
desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"
icon=$(sed -n 's/^Icon=//p' "$prefix/share/applications/$id.desktop")
test -f "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" || {
    echo "no icon $icon installed" >&2
    exit 1
}
