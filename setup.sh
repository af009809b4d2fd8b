#!/usr/bin/env bash
# Installs what 诗海拾贝 needs on Debian (packages, data packages, build, database), then runs the
# program (`setup.sh run`), every test (`setup.sh test`) or builds the Debian package (`setup.sh package`).
# Safe to run again: it only does what is missing.
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")"
ROOT=$PWD
BUILD=$ROOT/build
JOBS=2
# The tests run a second time in a sanitizer tree, and the query dialect is fuzzed in a clang tree.
ASAN_BUILD=$ROOT/build-asan
FUZZ_BUILD=$ROOT/build-fuzz
# pdfinfo (poppler-utils) counts the pages of exported PDFs.
TEST_PACKAGES=(clang libclang-rt-dev clang-format desktop-file-utils appstream poppler-utils)

APT_PACKAGES=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev
    libsqlite3-dev sqlite3 libjpeg-dev libopencc-dev libbz2-dev unicode-data libbenchmark-dev dpkg-dev
    fonts-wqy-microhei fonts-dejavu-core fonts-babelstone-han fonts-hanazono
)

say() { printf '== %s\n' "$*"; }

# Installs the missing ones of APT_PACKAGES and of the packages given.
install_packages() {
    local missing=()
    for p in "${APT_PACKAGES[@]}" "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    command -v node >/dev/null && command -v npm >/dev/null || missing+=(nodejs npm)
    if ((${#missing[@]})); then
        say "installing ${missing[*]}"
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -qq
        apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}

install_data() {
    local stamp=node_modules/.shihai-lock
    if [ -f "$stamp" ] && cmp -s package-lock.json "$stamp"; then
        return
    fi
    say "installing the data packages (npm ci)"
    npm ci --ignore-scripts --no-audit --no-fund --loglevel=error
    cp package-lock.json "$stamp"
}

build() {
    say "building"
    [ -f "$BUILD/build.ninja" ] || cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build "$BUILD" -j "$JOBS"
}

# The database holds the user's works: it is built only when there is none.
make_database() {
    if [ -e date/W.mdb ]; then
        return
    fi
    say "building the dictionary database date/W.mdb"
    mkdir -p date
    "$BUILD/tools/shihai-builddb" date/W.mdb
}

# The sources keep the format of .clang-format: a change that breaks it fails the tests.
check_format() {
    say "checking the format of the sources"
    git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
}

# The rhyme books are reference data, not the user's: rebuilt whenever the builder's data version changes.
make_reference() {
    mkdir -p date
    "$BUILD/tools/shihai-builddb" --rhymebooks date/rhymebooks.db --if-outdated
}

# The classics (全唐诗, 宋词, their full-text index and rhyme words) are reference data too; built after the
# rhyme books, whose data version is part of theirs.
make_classics() {
    mkdir -p date
    "$BUILD/tools/shihai-builddb" --classics date/classics.db --if-outdated
}

# Every test once more, built with AddressSanitizer and UndefinedBehaviorSanitizer; a leak fails too.
sanitizer_tests() {
    say "building and running the tests under AddressSanitizer and UndefinedBehaviorSanitizer"
    [ -f "$ASAN_BUILD/build.ninja" ] ||
        cmake -S "$ROOT" -B "$ASAN_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSHIHAI_SANITIZE=ON \
            -DSHIHAI_PACKAGE=OFF
    cmake --build "$ASAN_BUILD" -j "$JOBS"
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --test-dir "$ASAN_BUILD" --output-on-failure -j "$JOBS"
}

# The query dialect's translator, the metre check on pasted text and the works import of any file under
# libFuzzer, half a minute each; any crash, hang or sanitizer report fails.
fuzz() {
    say "fuzzing the query dialect, the metre check and the works import for 30 seconds each"
    [ -f "$FUZZ_BUILD/build.ninja" ] ||
        CC=clang CXX=clang++ cmake -S "$ROOT" -B "$FUZZ_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DSHIHAI_FUZZ=ON
    cmake --build "$FUZZ_BUILD" -j "$JOBS" --target fuzz_dialect fuzz_check fuzz_import
    mkdir -p "$FUZZ_BUILD/corpus" "$FUZZ_BUILD/corpus-check" "$FUZZ_BUILD/corpus-import"
    "$FUZZ_BUILD/tests/fuzz/fuzz_dialect" -max_total_time=30 -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$FUZZ_BUILD/" "$FUZZ_BUILD/corpus" "$ROOT/tests/fuzz/seeds"
    SHIHAI_BOOKS="$ROOT/date/rhymebooks.db" "$FUZZ_BUILD/tests/fuzz/fuzz_check" -max_total_time=30 -timeout=10 \
        -rss_limit_mb=2048 -artifact_prefix="$FUZZ_BUILD/check-" "$FUZZ_BUILD/corpus-check" "$ROOT/tests/fuzz/verse"
    "$FUZZ_BUILD/tests/fuzz/fuzz_import" -max_total_time=30 -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$FUZZ_BUILD/import-" "$FUZZ_BUILD/corpus-import" "$ROOT/tests/fuzz/import"
}

case "${1:-}" in
run)
    install_packages
    install_data
    build
    make_database
    make_reference
    make_classics
    exec "$BUILD/app/shihai"
    ;;
test)
    install_packages "${TEST_PACKAGES[@]}"
    check_format
    install_data
    build
    make_database
    make_reference
    make_classics
    say "running the tests"
    # As root the package test also installs the package, starts it and removes it again.
    SHIHAI_TEST_DPKG=1 ctest --test-dir "$BUILD" --output-on-failure -j "$JOBS"
    sanitizer_tests
    fuzz
    ;;
package)
    install_packages
    install_data
    build
    say "building the Debian package"
    (cd "$BUILD" && cpack -G DEB)
    ls "$BUILD"/shihai_*.deb
    ;;
*)
    echo "usage: $0 run|test|package" >&2
    exit 2
    ;;
esac
