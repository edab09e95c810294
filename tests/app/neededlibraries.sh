#!/usr/bin/env bash
# The game starts without Qt Network and Qt Print Support: only its components link them.
#   neededlibraries.sh GAME NETWORK_COMPONENT PRINT_COMPONENT
set -euo pipefail
needed() { readelf -d "$1" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'; }
fail() { echo "neededlibraries: $*" >&2; exit 1; }

game=$(needed "$1")
grep -q '^libQt6Widgets' <<<"$game" || fail "cannot read the game's libraries: $game"
for library in libQt6Network libQt6PrintSupport; do
    grep -q "^$library" <<<"$game" && fail "the game links $library"
done
needed "$2" | grep -q '^libQt6Network' || fail "the network component does not link Qt Network"
needed "$3" | grep -q '^libQt6PrintSupport' || fail "the print component does not link Qt Print Support"
echo "neededlibraries: the game links neither; the components do"
