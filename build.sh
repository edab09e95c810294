#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds Vaskelio and runs it or its tests.
#   ./build.sh run    install what is missing, build, start the game
#   ./build.sh test   install what is missing, build, run every test through ctest
#   ./build.sh build  install what is missing and build
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"

BUILD_DIR=${BUILD_DIR:-build}
PACKAGES=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    fonts-arphic-ukai fonts-noto-cjk fonts-dejavu-core fonts-liberation2
    libmicrohttpd-dev libsqlite3-dev libpq-dev postgresql
    xvfb xauth libxcb1-dev
)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_missing() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
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

build() {
    cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$BUILD_DIR" --parallel "$(nproc)"
}

case "${1:-}" in
run)
    install_missing
    build
    exec "$BUILD_DIR/src/vaskelio"
    ;;
test)
    install_missing
    build
    cd "$BUILD_DIR"
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)"
    ;;
build)
    install_missing
    build
    ;;
*)
    echo "usage: $0 run|test|build" >&2
    exit 2
    ;;
esac
