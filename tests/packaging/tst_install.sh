#!/usr/bin/env bash
# `cmake --install` into a temporary prefix: the executable, the desktop
# entry, the icon and the metainfo land where the desktop looks for them,
# tie together by one name, and pass the desktop's own validators.
#
#   tst_install.sh <build folder> <source folder> <desktop id> [configuration]
set -euo pipefail
build="$1"
source="$2"
id="$3"
config="${4:-}"

for tool in desktop-file-validate appstreamcli; do
    if ! command -v "$tool" >/dev/null; then
        echo "$tool is missing (packages desktop-file-utils, appstream)"
        exit 77
    fi
done

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
prefix="$root/usr"
cmake --install "$build" --prefix "$prefix" ${config:+--config "$config"} >/dev/null

sizes=(16 32 48 64 128 256)
expected=(bin/brenwick-editor
          "share/applications/$id.desktop"
          "share/metainfo/$id.metainfo.xml"
          "share/icons/hicolor/scalable/apps/$id.svg"
          share/doc/brenwick-editor/copyright
          share/doc/brenwick-editor/changelog.gz
          share/man/man1/brenwick-editor.1.gz)
for size in "${sizes[@]}"; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/$id.png")
done
installed="$(cd "$prefix" && find . -type f -printf '%P\n' | sort)"
wanted="$(printf '%s\n' "${expected[@]}" | sort)"
[ "$installed" = "$wanted" ] || fail "installed files:"$'\n'"$installed"$'\n'"expected:"$'\n'"$wanted"
[ -x "$prefix/bin/brenwick-editor" ] || fail "the executable is not executable"

# Not even a hint (two main categories would put the editor in two menus).
entry="$prefix/share/applications/$id.desktop"
report="$(desktop-file-validate "$entry" 2>&1)" || fail "desktop-file-validate: $report"
[ -z "$report" ] || fail "desktop-file-validate: $report"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"
# The tree check also finds the desktop entry the metainfo launches.
appstreamcli validate-tree --no-net "$root" || fail "appstreamcli validate-tree"

value() {
    sed -n "s/^$1=//p" "$entry"
}
[ "$(value Icon)" = "$id" ] || fail "Icon=$(value Icon)"
[ "$(value Exec)" = "brenwick-editor --open %f" ] || fail "Exec=$(value Exec): the file opened"
[ "$(value MimeType)" = "text/plain;text/html;text/css;" ] || fail "MimeType=$(value MimeType)"
[ -n "$(value 'Name\[de\]')" ] && [ -n "$(value 'Comment\[de\]')" ] || fail "German name or comment missing"
[ "$(value Comment)" != "$(value 'Comment\[de\]')" ] || fail "the English comment is the German one"

# The theme's icons are the very files the window shows, each of the size
# its folder says (a PNG's width and height are the big-endian words at
# bytes 16 and 20).
for size in "${sizes[@]}"; do
    icon="$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png"
    cmp -s "$icon" "$source/resources/icons/brenwick-$size.png" || fail "$icon is not the window's icon"
    read -r width height < <(od -An -j16 -N8 -tu1 "$icon" |
                              awk '{ print $1*16777216 + $2*65536 + $3*256 + $4, $5*16777216 + $6*65536 + $7*256 + $8 }')
    [ "$width" = "$size" ] && [ "$height" = "$size" ] || fail "$icon is ${width}x${height}"
done
cmp -s "$prefix/share/icons/hicolor/scalable/apps/$id.svg" "$source/resources/icons/brenwick.svg" ||
    fail "the scalable icon is not the program's"
echo "installed and valid: $id"
