#!/usr/bin/env bash
# Sourced by play.sh and test.sh: installs what is missing (Debian 12), then configures and builds.
# Usage: build_tree DIR [cmake options...]; with BUILD_TARGET set, only that target is built.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
PACKAGES=(cmake make g++ qt6-base-dev qt6-qpa-plugins libgtest-dev fonts-liberation desktop-file-utils appstream)

install_missing() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    ((${#missing[@]})) || return 0
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

build_tree() {
    local dir=$1
    shift
    install_missing "${PACKAGES[@]}"
    cmake -S "$ROOT" -B "$dir" "$@" >/dev/null
    cmake --build "$dir" -j2 ${BUILD_TARGET:+--target "$BUILD_TARGET"}
}
