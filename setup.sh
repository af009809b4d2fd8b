#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what 诗海拾贝 needs on Debian (packages, data packages, build, database), then runs the
# program (`setup.sh run`), every test (`setup.sh test`) or builds the Debian package (`setup.sh package`).
# Safe to run again: it only does what is missing. Run it as yourself: only the Debian packages need root,
# and it asks sudo for those alone; the build, the data files and the program's settings stay yours.
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
die() {
    printf '%s\n' "$@" >&2
    exit 1
}

# Installs the missing ones of APT_PACKAGES and of the packages given.
install_packages() {
    local missing=()
    for p in "${APT_PACKAGES[@]}" "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    command -v node >/dev/null && command -v npm >/dev/null || missing+=(nodejs npm)
    ((${#missing[@]})) || return 0
    say "安装缺少的软件包：${missing[*]}"
    if ((EUID == 0)); then
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -qq
        apt-get install -y -qq --no-install-recommends "${missing[@]}"
        return
    fi
    local as_root="su -c 'apt-get update && apt-get install -y --no-install-recommends ${missing[*]}'"
    # sudo -l names the one command it would run as root; it asks the password once, and fails when this
    # user may not run apt-get through sudo.
    if ! command -v sudo >/dev/null || ! sudo -l -- apt-get >/dev/null; then
        die "安装这些 Debian 软件包需要 root 权限，而这里不能用 sudo。请以 root 身份运行：" "  $as_root" \
            "然后再运行 bash setup.sh ${COMMAND}。"
    fi
    sudo apt-get update -qq
    sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# A run as root once (before set-up could run as oneself) leaves root's files in the clone and in the
# settings, which this user can then neither rebuild nor write: say which and how to hand them back.
check_ownership() {
    ((EUID != 0)) || return 0
    local me group foreign=()
    me=$(id -un)
    group=$(id -gn)
    [ -w "$ROOT" ] || die "你（$me）不能在 $ROOT 中写入文件。请以你自己的身份克隆这个仓库，再在克隆中运行 bash setup.sh ${COMMAND}。"
    for d in "$BUILD" "$ASAN_BUILD" "$FUZZ_BUILD" "$ROOT/date" "$ROOT/node_modules" \
        "${XDG_CONFIG_HOME:-$HOME/.config}/shihai" "${XDG_DATA_HOME:-$HOME/.local/share}/shihai"; do
        if [ -e "$d" ] && [ -n "$(find "$d" ! -user "$me" -print -quit 2>/dev/null)" ]; then
            foreign+=("$d")
        fi
    done
    ((${#foreign[@]})) || return 0
    local owner
    owner=$(stat -c %U "$(find "${foreign[0]}" ! -user "$me" -print -quit 2>/dev/null)")
    die "下面的文件夹里有不属于你（$me）的文件（属于 $owner），多半是以前以 root 身份运行 setup.sh 留下的：" \
        "${foreign[@]/#/  }" \
        "setup.sh 不能改写或重建它们，程序也不能在其中保存草稿、设置和恢复文件。date/W.mdb 里有你的作品，不要删除；" \
        "请以 root 身份把这些文件交还给你：" \
        "  su -c 'chown -R $me:$group ${foreign[*]}'" \
        "（能用 sudo 时也可以运行 sudo chown -R $me:$group ${foreign[*]}），然后再运行 bash setup.sh ${COMMAND}。"
}

install_data() {
    local stamp=node_modules/.shihai-lock
    if [ -f "$stamp" ] && cmp -s package-lock.json "$stamp"; then
        return
    fi
    say "安装数据包（npm ci）"
    npm ci --ignore-scripts --no-audit --no-fund --loglevel=error
    cp package-lock.json "$stamp"
}

# Builds the targets given, or everything (the tests, benchmarks and the data to install) without any. The
# tree is the same either way, so a tree built to run is later built further to test or to package.
build() {
    say "编译"
    local targets=()
    (($# == 0)) || targets=(--target "$@")
    [ -f "$BUILD/build.ninja" ] || cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build "$BUILD" -j "$JOBS" "${targets[@]}"
}

# The database holds the user's works: it is built only when there is none.
make_database() {
    if [ -e date/W.mdb ]; then
        return
    fi
    say "生成词典数据库 date/W.mdb"
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

COMMAND=${1:-}
case "$COMMAND" in
run)
    [ -z "${SUDO_USER:-}" ] || [ "$SUDO_USER" = root ] ||
        say "你用 sudo 运行了 setup.sh：程序、它的设置和恢复文件都会属于 root。不必用 sudo：以你自己的身份运行" \
            "bash setup.sh run，缺少软件包时它只为安装软件包调用 sudo。"
    check_ownership
    install_packages
    # The first run is what a newcomer waits for, on as few as two cores: the data packages come in while
    # the program compiles, and the dictionary is built beside the reference files (none needs another).
    # Only what running needs is compiled: the program and the builder of its data files, not the tests.
    # A step that fails ends the run once the steps beside it are done, so nothing is left half-written.
    trap wait EXIT
    install_data &
    data=$!
    build shihai shihai-builddb
    wait "$data"
    make_database &
    database=$!
    make_reference
    make_classics
    wait "$database"
    trap - EXIT
    exec "$BUILD/app/shihai"
    ;;
test)
    check_ownership
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
    check_ownership
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
