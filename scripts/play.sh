#!/usr/bin/env bash
# Installs what is missing, builds, and starts the game at a level: easy, medium or hard (the
# default). The game reads kubix.dat from its current folder, so it starts in the level's folder.
# Usage: bash scripts/play.sh [easy|medium|hard]
set -euo pipefail
level=${1:-hard}
case "$level" in
    easy | medium) folder=levels/$level ;;
    hard) folder=. ;;
    *)
        echo "play.sh: unknown level '$level'; the levels are: easy, medium, hard (the default)" >&2
        exit 2
        ;;
esac
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
# The game alone: the test suites and the bench are the test command's to build.
BUILD_TARGET=tictactoe3d build_tree "$ROOT/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cd "$ROOT/build/$folder"
exec "$ROOT/build/tictactoe3d"
