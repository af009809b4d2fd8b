#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program as a user installs it: the installed tree, its menu entry and metainfo, the launcher on
# a fresh home (first start, a second start, a newer reference file, a folder it cannot make), and
# the Debian package (built, inspected; installed, started and removed when SHIHAI_TEST_DPKG=1 as root).
# usage: test_install.sh BUILD_DIR
set -euo pipefail
build=$(readlink -f "$1")
work=$(mktemp -d)
installed_package=""
cleanup() {
    if [ -n "$installed_package" ]; then dpkg -r shihai >/dev/null 2>&1 || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

failures=0
check() { # description, command...
    local what=$1
    shift
    if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}

# 1. The installed tree.
DESTDIR="$work/root" cmake --install "$build" --prefix /usr >/dev/null
root="$work/root/usr"
for f in bin/shihai bin/shihai-gelv bin/shihai-builddb bin/shihai-works bin/shihai-classics libexec/shihai/shihai share/shihai/W.mdb \
    share/shihai/rhymebooks.db share/shihai/classics.db share/applications/shihai.desktop share/metainfo/shihai.metainfo.xml \
    share/icons/hicolor/scalable/apps/shihai.svg share/icons/hicolor/48x48/apps/shihai.png \
    share/icons/hicolor/256x256/apps/shihai.png share/doc/shihai/copyright share/man/man1/shihai.1.gz \
    share/man/man1/shihai-gelv.1.gz share/man/man1/shihai-works.1.gz share/man/man1/shihai-builddb.1.gz share/man/man1/shihai-classics.1.gz; do
    check "installed $f" test -s "$root/$f"
done
check "launcher is executable" test -x "$root/bin/shihai"
check "desktop entry names the program" grep -qx 'Name=诗海拾贝' "$root/share/applications/shihai.desktop"
if command -v desktop-file-validate >/dev/null; then
    check "desktop entry validates" desktop-file-validate "$root/share/applications/shihai.desktop"
fi
if command -v appstreamcli >/dev/null; then
    # The component keeps the id shihai until the project has a domain of its own for a reverse-DNS id.
    check "metainfo validates" appstreamcli validate --no-net --override=cid-desktopapp-is-not-rdns=info \
        "$root/share/metainfo/shihai.metainfo.xml"
fi
check "copyright names the data licences" grep -q 'License: MIT and Unicode-DFS-2016 and ISC' "$root/share/doc/shihai/copyright"

# 2. The launcher on a fresh home. The box probe of the fault tests closes the window once shown.
start() { # home, extra environment...
    local home=$1
    shift
    env -u XDG_DATA_HOME HOME="$home" QT_QPA_PLATFORM=offscreen QT_PLUGIN_PATH="$build/tests/faults/plugins" \
        QT_QPA_GENERIC_PLUGINS=shihaiboxprobe:close "$@" "$root/bin/shihai" >"$work/out" 2>&1
}
home="$work/home"
mkdir -p "$home"
data="$home/.local/share/shihai/date"
check "first start runs the program" start "$home"
check "the window was shown and closed" grep -q '{"close":true}' "$work/out"
check "first start copies the dictionary" cmp -s "$data/W.mdb" "$root/share/shihai/W.mdb"
check "first start copies the rhyme books" cmp -s "$data/rhymebooks.db" "$root/share/shihai/rhymebooks.db"
check "first start copies the classics" cmp -s "$data/classics.db" "$root/share/shihai/classics.db"
sqlite3 "$data/W.mdb" "INSERT INTO 作品 (标题, 类别, 内容) VALUES ('我的诗', '甲类', '春风')"
touch -d '2000-01-01' "$data/rhymebooks.db"
echo "changed" >>"$data/rhymebooks.db"
touch -d '2000-01-01' "$data/rhymebooks.db"
check "second start runs the program" start "$home"
check "second start keeps the user's works" test "$(sqlite3 "$data/W.mdb" "SELECT 内容 FROM 作品 WHERE 标题='我的诗'")" = 春风
check "a newer installed reference file replaces the old copy" cmp -s "$data/rhymebooks.db" "$root/share/shihai/rhymebooks.db"
check "XDG_DATA_HOME is the data folder" start "$home" XDG_DATA_HOME="$work/xdg"
check "XDG_DATA_HOME gets its own copy" test -s "$work/xdg/shihai/date/W.mdb"
if start "$home" XDG_DATA_HOME=/dev/null/cannot; then
    check "a folder that cannot be made stops the start" false
else
    check "a folder that cannot be made is said" grep -q '诗海拾贝无法启动：无法建立数据文件夹' "$work/out"
    check "and the program did not start" bash -c "! grep -q close '$work/out'"
fi

# 3. The installed command finds the installed rhyme books from anywhere.
check "shihai-gelv finds the installed books" bash -c "cd '$work' && echo '白日依山尽，黄河入海流。欲穷千里目，更上一层楼。' | HOME='$work/nobody' '$root/bin/shihai-gelv' >/dev/null"

check "shihai-classics finds lines in the installed classics" bash -c "cd '$work' && HOME='$work/nobody' '$root/bin/shihai-classics' lines --pattern 仄仄平平仄仄平 --rhyme 下平七阳 --limit 1 | grep -q '^共'"

check "shihai-works lists the works of the installed dictionary" bash -c "'$root/bin/shihai-works' list --db '$root/share/shihai/W.mdb' | grep -q '^甲类'"

# 4. The Debian package.
(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1) ||
    { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/package/shihai_*.deb)
dpkg-deb -I "$deb" >"$work/info"
dpkg-deb -c "$deb" >"$work/contents"
check "package is shihai" grep -q '^ Package: shihai$' "$work/info"
for dep in libqt6widgets6 libqt6network6 libsqlite3-0 libjpeg62-turbo qt6-qpa-plugins qt6-translations-l10n fonts-wqy-microhei fonts-babelstone-han fonts-hanazono; do
    check "package depends on $dep" grep -q "Depends:.*$dep" "$work/info"
done
for f in ./usr/bin/shihai ./usr/bin/shihai-gelv ./usr/bin/shihai-works ./usr/libexec/shihai/shihai ./usr/share/shihai/W.mdb \
    ./usr/share/applications/shihai.desktop ./usr/share/doc/shihai/copyright ./usr/share/man/man1/shihai-gelv.1.gz; do
    check "package holds $f" grep -q " $f\$" "$work/contents"
done

if [ "${SHIHAI_TEST_DPKG:-}" = 1 ] && [ "$(id -u)" = 0 ] && ! dpkg -s shihai >/dev/null 2>&1; then
    installed_package=yes
    check "package installs" dpkg -i "$deb"
    pkghome="$work/pkghome"
    mkdir -p "$pkghome"
    check "installed program starts from its menu command" env -u XDG_DATA_HOME HOME="$pkghome" \
        QT_QPA_PLATFORM=offscreen QT_PLUGIN_PATH="$build/tests/faults/plugins" QT_QPA_GENERIC_PLUGINS=shihaiboxprobe:close \
        "$(grep '^Exec=' /usr/share/applications/shihai.desktop | cut -d= -f2 | cut -d' ' -f1)"
    check "package removes" dpkg -r shihai
    installed_package=""
    check "nothing of the package is left" bash -c '! test -e /usr/bin/shihai && ! test -e /usr/share/shihai'
    check "the user's folder is left alone" test -s "$pkghome/.local/share/shihai/date/W.mdb"
fi

echo "$failures failures"
[ "$failures" = 0 ]
