#!/usr/bin/env bash
# The desktop entry, AppStream data and icons: one id, in lower case, spelled the same in every
# file name and reference, and both validators silent (not even a hint).
#   desktopdata.sh SOURCE_DIR APP_ID
set -u
dir=$1/data/desktop
id=$2
failures=0
fail() { echo "desktopdata: $*" >&2; failures=$((failures + 1)); }

[[ $id == "${id,,}" ]] || fail "the id $id is not in lower case"
for f in "$id.desktop" "$id.metainfo.xml" "$id.svg" "icons/$id-"{16,24,32,48,64,128,256}.png; do
    [ -f "$dir/$f" ] || fail "no $f"
done
others=$(find "$dir" -type f \( ! -name "$id.*" ! -name "$id-*" \) -o -iname "$id*" ! -name "$id*")
[ -z "$others" ] || fail "files under another id: $others"

desktop=$dir/$id.desktop metainfo=$dir/$id.metainfo.xml
grep -qx "Icon=$id" "$desktop" || fail "the desktop entry names another icon"
grep -q "<id>$id</id>" "$metainfo" || fail "the AppStream id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "the AppStream data launches another desktop entry"
categories=$(sed -n 's/^Categories=//p' "$desktop")
[[ "$categories" == Game\;* ]] || fail "Game is not the first category: $categories"

said=$(desktop-file-validate "$desktop" 2>&1)
[ -z "$said" ] || fail "desktop-file-validate: $said"
said=$(appstreamcli validate --pedantic --no-net "$metainfo" 2>&1) || fail "appstreamcli fails"
grep -E '^[EWIP]: ' <<<"$said" && fail "appstreamcli validate --pedantic has something to say"

[ "$failures" -eq 0 ] || exit 1
echo "desktopdata: $id throughout, and the validators have nothing to say"
