#!/usr/bin/env bash
# Installs what is missing, builds, and starts the game from the folder that holds kubix.dat.
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
build_tree "$ROOT/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cd "$ROOT/build"
exec ./tictactoe3d
