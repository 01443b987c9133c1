#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite:
#   1. the suite in an ordinary build;
#   2. the core tests and one whole game through the window under valgrind memcheck;
#   3. the suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer;
#   4. short runs of the two fuzz targets (data file, whole games), where clang's libFuzzer can be installed;
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

echo "== Fuzzers: the data file reader, and whole games under fuzzed tables and actions"
if install_missing clang libclang-rt-14-dev 2>/dev/null && command -v clang++ >/dev/null; then
    CC=clang CXX=clang++ build_tree "$ROOT/build-fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTTT_FUZZ=ON
    for target in datafile:corpus game:game-corpus; do
        name=${target%%:*} work="$ROOT/build-fuzz/${target#*:}"
        rm -rf "$work" && mkdir -p "$work" && cp "$ROOT/tests/fuzz/${target#*:}"/* "$work"/
        # The seed corpus is replayed first; any crash or broken rule fails this step.
        (cd "$ROOT/build-fuzz" && ASAN_OPTIONS=malloc_context_size=0 QT_QPA_PLATFORM=offscreen \
            "./fuzz_$name" -max_total_time="${FUZZ_SECONDS:-45}" -print_final_stats=1 "$work" 2>&1 |
            grep -E '^(stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)|Done|==|SUMMARY|broken|.*ERROR)' )
        echo "fuzz_$name: corpus grown to $(ls "$work" | wc -l) inputs"
    done
else
    echo "clang's libFuzzer could not be installed here: the fuzz runs are skipped"
fi

echo "== Debian package"
bash "$ROOT/scripts/package-check.sh"
