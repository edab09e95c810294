#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds Vaskelio and runs it or its tests. As root or as a user
# with sudo; apt-get is called only for packages that are missing.
#   ./build.sh run [--xvfb]  install what the game needs, build it, start it (--xvfb: on a
#                            virtual X server, for a machine without a display)
#   ./build.sh test          install what the tests need too, build everything, run every test
#   ./build.sh build         install what building needs and build everything
#   ./build.sh package       build, then make the Debian packages in the build folder
#   ./build.sh install       make the packages and install the game's with apt
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"

BUILD_DIR=${BUILD_DIR:-build}
# Where the system's files are; the tests of this script point it at a folder of their own.
SYSROOT=${SYSROOT:-}
# What building and playing the game needs: the word lists' import reads Anki's packages (zip,
# zstd, SQLite) and the HTML of flash-card fields (libxml2); the PDFs' pages are mended (zlib);
# speech is Qt Text to Speech through speech-dispatcher and espeak-ng (Debian 12's Qt Text to
# Speech headers include a header of Qt Declarative's without depending on it).
RUN_PACKAGES=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    fonts-arphic-ukai fonts-noto-cjk fonts-dejavu-core fonts-liberation2
    qt6-translations-l10n
    libuchardet-dev zlib1g-dev
    libzip-dev libzstd-dev libsqlite3-dev libxml2-dev
    qt6-speech-dev qt6-declarative-dev
    qt6-speech-speechd-plugin speech-dispatcher espeak-ng speech-dispatcher-espeak-ng
)
# What building everything adds: the sharing service's libraries, and file, which CPack needs
# to find the programs' libraries for the packages' dependencies.
BUILD_PACKAGES=(
    libmicrohttpd-dev libpq-dev
    file
)
# What the tests add: the PostgreSQL server's programs (the tests start clusters of their own),
# an X server for the smoke test and the start-up benchmark (X Damage), the package tools and
# validators, the cross compiler of the Windows syntax check, and poppler's tools that read the
# PDFs of the print tests back and qpdf that checks their structure.
TEST_PACKAGES=(
    postgresql-15
    xvfb xauth libxcb1-dev libxcb-damage0-dev
    dpkg-dev lintian appstream desktop-file-utils
    g++-mingw-w64-x86-64-posix
    poppler-utils qpdf
    at-spi2-core python3-pyatspi xdotool dbus-daemon
)
XVFB_PACKAGES=(xvfb xauth)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

apt_updated=
install_missing() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed' \
            || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        if [ -z "$apt_updated" ]; then
            as_root apt-get update -qq
            apt_updated=yes
        fi
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
            "${missing[@]}"
    fi
}

# Debian's PostgreSQL server makes a cluster "main" as it installs, starts it, and starts it again
# at every boot. The tests need only its programs, so it is installed without that cluster
# (create_main_cluster) and with every service start refused meanwhile (policy-rc.d); both files
# go again afterwards, and one the system already has is left alone.
made=() made_dir=
remove_made() {
    [ ${#made[@]} -eq 0 ] || as_root rm -f "${made[@]}"
    [ -z "$made_dir" ] || as_root rmdir "$made_dir" 2>/dev/null || true
    made=() made_dir=
}
install_without_services() {
    local conf_dir=$SYSROOT/etc/postgresql-common/createcluster.d
    local conf=$conf_dir/zz-vaskelio-build.conf
    local policy=$SYSROOT/usr/sbin/policy-rc.d
    # A policy left behind would keep every service from starting later: gone however this ends.
    trap remove_made EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
    if [ ! -d "$conf_dir" ]; then
        as_root mkdir -p "$conf_dir"
        made_dir=$conf_dir
    fi
    if [ ! -e "$conf" ]; then
        echo 'create_main_cluster = false' | as_root tee "$conf" >/dev/null
        made+=("$conf")
    fi
    if [ ! -e "$policy" ]; then
        printf '#!/bin/sh\n# No service starts while build.sh installs.\nexit 101\n' \
            | as_root tee "$policy" >/dev/null
        as_root chmod 755 "$policy"
        made+=("$policy")
    fi
    install_missing "$@"
    remove_made
    trap - EXIT INT TERM
}

configure() {
    cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
}

has_display() {
    [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]
}

build_all() {
    install_missing "${RUN_PACKAGES[@]}" "${BUILD_PACKAGES[@]}"
    configure
    cmake --build "$BUILD_DIR" --parallel "$(nproc)"
}

make_packages() {
    build_all
    (cd "$BUILD_DIR" && cpack -G DEB)
}

usage() {
    echo "usage: $0 run [--xvfb] | test | build | package | install" >&2
    exit 2
}

case "${1:-}" in
run)
    xvfb=
    case "${2:-}" in
    '') ;;
    --xvfb) xvfb=yes ;;
    *) usage ;;
    esac
    # Said before anything is installed or built: the game cannot open a window without one.
    if [ -z "$xvfb" ] && ! has_display; then
        cat >&2 <<MESSAGE
build.sh: no display here (neither DISPLAY nor WAYLAND_DISPLAY is set), so the game could not
open its window. Run it on a virtual X server instead:
    ./build.sh run --xvfb                   installs xvfb too, builds and starts the game on it
or, once built and with xvfb installed (apt-get install xvfb xauth):
    xvfb-run -a $BUILD_DIR/src/vaskelio
MESSAGE
        exit 1
    fi
    if [ -n "$xvfb" ]; then
        install_missing "${RUN_PACKAGES[@]}" "${XVFB_PACKAGES[@]}"
    else
        install_missing "${RUN_PACKAGES[@]}"
    fi
    configure
    cmake --build "$BUILD_DIR" --parallel "$(nproc)" --target vaskelio
    if [ -n "$xvfb" ]; then
        echo "Vaskelio runs on a virtual X server; Ctrl+C ends it."
        exec xvfb-run -a "$BUILD_DIR/src/vaskelio"
    fi
    exec "$BUILD_DIR/src/vaskelio"
    ;;
test)
    install_missing "${RUN_PACKAGES[@]}" "${BUILD_PACKAGES[@]}"
    install_without_services "${TEST_PACKAGES[@]}"
    # Configured afresh: a tree first configured by "run" found no service libraries then.
    rm -f "$BUILD_DIR/CMakeCache.txt"
    configure
    cmake --build "$BUILD_DIR" --parallel "$(nproc)"
    cd "$BUILD_DIR"
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)"
    ;;
build)
    [ $# -eq 1 ] || usage
    build_all
    ;;
package)
    [ $# -eq 1 ] || usage
    make_packages
    ;;
install)
    [ $# -eq 1 ] || usage
    make_packages
    # The game only: the service's package starts a server, which a player does not want.
    # apt takes a file when given a path, and brings what the package depends on.
    game=$(ls -t "$BUILD_DIR"/vaskelio_*.deb | head -n 1)
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y "$(realpath "$game")"
    ;;
*)
    usage
    ;;
esac
