#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite:
#   1. the suite in an ordinary build;
#   2. the core tests and one whole game through the window under valgrind memcheck;
#   3. the suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer;
#   4. a one-minute run of the data file fuzzer, where clang's libFuzzer can be installed;
#   5. the Debian package: built, inspected, installed, started as its desktop entry does, removed.
# Any failure, sanitizer report or memcheck error fails the run.
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
export QT_QPA_PLATFORM=offscreen

build_tree "$ROOT/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
ctest --test-dir "$ROOT/build" --output-on-failure -j2

echo "== valgrind memcheck"
install_missing valgrind
memcheck=(valgrind -q --error-exitcode=1 --leak-check=full --errors-for-leak-kinds=definite
          --show-leak-kinds=definite)
"${memcheck[@]}" "$ROOT/build/tests/core_tests" --gtest_brief=1 --gtest_filter=-DataFile.FilesOnDisk
"${memcheck[@]}" "$ROOT/build/tests/ui_tests" --gtest_brief=1 --gtest_filter=Game.Transcripts

echo "== The suite under AddressSanitizer and UndefinedBehaviorSanitizer"
build_tree "$ROOT/build-asan" -DCMAKE_BUILD_TYPE=Debug -DTTT_SANITIZE=ON
ASAN_OPTIONS=halt_on_error=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    ctest --test-dir "$ROOT/build-asan" --output-on-failure -j2

echo "== Data file fuzzer"
if install_missing clang libclang-rt-14-dev 2>/dev/null && command -v clang++ >/dev/null; then
    CC=clang CXX=clang++ build_tree "$ROOT/build-fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTTT_FUZZ=ON
    work="$ROOT/build-fuzz/corpus"
    rm -rf "$work" && mkdir -p "$work" && cp "$ROOT"/tests/fuzz/corpus/* "$work"/
    (cd "$ROOT/build-fuzz" && ./fuzz_datafile -max_total_time="${FUZZ_SECONDS:-60}" -print_final_stats=1 "$work" 2>&1 |
        grep -E '^(stat::|Done|==|SUMMARY|.*ERROR)' )
    echo "fuzz corpus grown to $(ls "$work" | wc -l) inputs; crashes would fail this step"
else
    echo "clang's libFuzzer could not be installed here: the fuzz run is skipped"
fi

echo "== Debian package"
bash "$ROOT/scripts/package-check.sh"
