#!/usr/bin/env bash
# Installs what 诗海拾贝 needs on Debian (packages, data packages, build, database), then runs the
# program (`setup.sh run`) or every test (`setup.sh test`). Safe to run again: it only does what is missing.
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")"
ROOT=$PWD
BUILD=$ROOT/build
JOBS=2

APT_PACKAGES=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libsqlite3-dev sqlite3 libjpeg-dev libopencc-dev libbz2-dev unicode-data
    fonts-wqy-microhei fonts-dejavu-core fonts-babelstone-han fonts-hanazono
)

say() { printf '== %s\n' "$*"; }

install_packages() {
    local missing=()
    for p in "${APT_PACKAGES[@]}"; do
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

case "${1:-}" in
run)
    install_packages
    install_data
    build
    make_database
    exec "$BUILD/app/shihai"
    ;;
test)
    install_packages
    install_data
    build
    make_database
    say "running the tests"
    ctest --test-dir "$BUILD" --output-on-failure -j "$JOBS"
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
