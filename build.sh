#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds Vaskelio and runs it or its tests.
#   ./build.sh run    install what is missing, build, start the game
#   ./build.sh test   install what is missing, build, run every test through ctest
#   ./build.sh build  install what is missing and build
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"

BUILD_DIR=${BUILD_DIR:-build}
# What building and playing the game needs.
RUN_PACKAGES=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    fonts-arphic-ukai fonts-noto-cjk fonts-dejavu-core fonts-liberation2
    qt6-translations-l10n
    libuchardet-dev
)
# What the tests add: the sharing service's libraries, an X server for the smoke test and the
# start-up benchmark (X Damage), the package tools and validators, the cross compiler of the
# Windows syntax check, poppler's tools that read the PDFs of the print tests back and qpdf that
# checks their structure.
TEST_PACKAGES=(
    libmicrohttpd-dev libsqlite3-dev libpq-dev postgresql
    xvfb xauth libxcb1-dev libxcb-damage0-dev
    dpkg-dev lintian appstream desktop-file-utils
    g++-mingw-w64-x86-64-posix
    poppler-utils qpdf
)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_missing() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed' \
            || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        as_root apt-get update -qq
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
            "${missing[@]}"
    fi
}

configure() {
    cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
}

case "${1:-}" in
run)
    install_missing "${RUN_PACKAGES[@]}"
    configure
    cmake --build "$BUILD_DIR" --parallel "$(nproc)" --target vaskelio
    exec "$BUILD_DIR/src/vaskelio"
    ;;
test)
    install_missing "${RUN_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
    # Configured afresh: a tree first configured by "run" found no service libraries then.
    rm -f "$BUILD_DIR/CMakeCache.txt"
    configure
    cmake --build "$BUILD_DIR" --parallel "$(nproc)"
    cd "$BUILD_DIR"
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)"
    ;;
build)
    install_missing "${RUN_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
    configure
    cmake --build "$BUILD_DIR" --parallel "$(nproc)"
    ;;
*)
    echo "usage: $0 run|test|build" >&2
    exit 2
    ;;
esac
