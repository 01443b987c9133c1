#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite: once in an ordinary build, then
# again built with AddressSanitizer and UndefinedBehaviorSanitizer, where any report fails the run.
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
export QT_QPA_PLATFORM=offscreen

build_tree "$ROOT/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
ctest --test-dir "$ROOT/build" --output-on-failure -j2

echo "== The same suite under AddressSanitizer and UndefinedBehaviorSanitizer"
build_tree "$ROOT/build-asan" -DCMAKE_BUILD_TYPE=Debug -DTTT_SANITIZE=ON
ASAN_OPTIONS=halt_on_error=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    ctest --test-dir "$ROOT/build-asan" --output-on-failure -j2
