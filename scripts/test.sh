#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite.
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
export QT_QPA_PLATFORM=offscreen
build_tree "$ROOT/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
ctest --test-dir "$ROOT/build" --output-on-failure -j2
