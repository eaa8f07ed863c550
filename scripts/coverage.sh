#!/usr/bin/env bash
# Line and branch coverage of the portable core (src/core, src/acad,
# src/engine, src/app) by every native test: a native build with gcc's
# --coverage (build/hard-coverage), ctest, then gcovr's table per file and
# its summary. Branches that only exceptions take, and those the compiler
# proves unreachable, are not counted. An HTML report with every line lands
# in build/hard-coverage/coverage/index.html.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$repo/build/hard-coverage

# Debian's gcovr; scripts/install-deps.sh lists it too.
if ! command -v gcovr >/dev/null; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get install -y -qq --no-install-recommends gcovr >/dev/null
fi

cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS="--coverage -O0" -DCMAKE_EXE_LINKER_FLAGS="--coverage" >/dev/null
cmake --build "$build" --parallel "$(nproc)"
# Counts of an earlier run would add up with this one's.
find "$build" -name '*.gcda' -delete
ctest --test-dir "$build" --parallel "$(nproc)" --timeout 600 >"$build/ctest.log" 2>&1 ||
    { tail -n 30 "$build/ctest.log"; exit 1; }
sed -n '/tests passed, /p' "$build/ctest.log"

mkdir -p "$build/coverage"
gcovr --root "$repo" --object-directory "$build" \
    --filter "$repo/src/(core|acad|install|app)/" \
    --exclude-directories "$build/CMakeFiles" \
    --exclude-throw-branches --exclude-unreachable-branches \
    --txt --html-details "$build/coverage/index.html" --print-summary
