#!/usr/bin/env bash
# Installs what is missing, builds, and starts the game from the folder that holds kubix.dat.
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
# The game alone: the test suites, arena and tuner are the test command's to build.
BUILD_TARGET=tictactoe3d build_tree "$ROOT/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cd "$ROOT/build"
exec ./tictactoe3d
