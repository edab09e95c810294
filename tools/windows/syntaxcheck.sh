#!/usr/bin/env bash
# Compiles every source of the game, syntax only, with the MinGW-w64 cross compiler against the
# Qt headers, so that a call only POSIX systems have fails here and not first on Windows.
#   syntaxcheck.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source=$1
build=$2
cxx=${MINGW_CXX:-x86_64-w64-mingw32-g++-posix}
qt=$(pkg-config --variable=includedir Qt6Core 2>/dev/null || echo /usr/include/x86_64-linux-gnu/qt6)
flags=(-std=c++17 -fsyntax-only -Wall -Wextra -Wno-attributes -DUNICODE -D_UNICODE
    -DVASKELIO_INSTALLED_DATA='"."' -DVASKELIO_COMPONENT_FOLDER='""'
    -I"$qt" -I"$source/src" -I"$source/src/core" -I"$source/src/ui" -I"$source/src/plugins"
    -I"$build/src/generated")
for module in QtCore QtGui QtWidgets QtPrintSupport QtNetwork QtTextToSpeech; do flags+=(-I"$qt/$module"); done
# The import's libraries (libzip, zstd, SQLite, libxml2) and zlib have no MinGW headers here:
# Debian's stand in, after the compiler's own, libxml2's configured as its Windows builds are,
# without iconv and ICU.
libs=$(mktemp -d)
trap 'rm -rf "$libs"' EXIT
include=$(pkg-config --variable=includedir libzip 2>/dev/null || echo /usr/include)
cp "$include"/{zip,zipconf,zstd,sqlite3}.h /usr/include/{zlib,zconf}.h "$libs"/
cp -r "$include/libxml2/libxml" "$libs"/
sed -i -e '/#define LIBXML_ICONV_ENABLED/d' -e '/#define LIBXML_ICU_ENABLED/d' \
    "$libs/libxml/xmlversion.h"
flags+=(-idirafter "$libs")
# The generated headers of the user-interface files and resources are not needed for syntax.
mapfile -t files < <(cd "$source" && find src tools/bank -name '*.cpp' | sort)
# shellcheck disable=SC2016
printf '%s\n' "${files[@]}" | (cd "$source" && xargs -P "$(nproc)" -I{} \
    bash -c 'set -o pipefail; "$0" "$@" {} 2>&1 | sed "s|^|{}: |" >&2' "$cxx" "${flags[@]}") \
    || { echo "syntaxcheck: a source does not compile for Windows" >&2; exit 1; }
echo "syntaxcheck: ${#files[@]} sources compile for Windows"
