#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The commands as their users read about them: each prints a Chinese usage with --help that names the
# same options as its manual page, says an unknown option in Chinese with status 2, and each manual
# page reads in man without a warning.
# usage: test_manpages.sh BUILD_DIR
set -euo pipefail
build=$(readlink -f "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
check() { # description, command...
    local what=$1
    shift
    if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}

# "  -h, --help   text" → "-h, --help": the names of each option of a usage.
help_options() { sed -n '/^选项：$/,/^$/p' "$1" | grep -E '^  -' | sed -E 's/^  //; s/  .*$//' | sort; }
# The tag of each entry of OPTIONS in a manual page, without its fonts.
man_options() {
    zcat "$1" | awk '/^\.SH /{inside = ($2 == "OPTIONS")} inside && previous == ".TP" {print} {previous = $0}' |
        sed -E 's/\\f[BIRP]//g; s/\\-/-/g; s/\\://g' | sort
}

declare -A commands=(
    [shihai]="$build/packaging/shihai"
    [shihai-gelv]="$build/tools/shihai-gelv"
    [shihai-works]="$build/tools/shihai-works"
    [shihai-builddb]="$build/tools/shihai-builddb"
    [shihai-classics]="$build/tools/shihai-classics"
)
for name in "${!commands[@]}"; do
    command=${commands[$name]}
    page="$build/packaging/man/$name.1.gz"
    check "$name --help ends with 0" bash -c "env -u XDG_RUNTIME_DIR '$command' --help >'$work/$name.help' 2>'$work/$name.err'"
    check "$name --help is a Chinese usage" grep -q "^用法：$name" "$work/$name.help"
    check "$name --help has none of Qt's English" bash -c "! grep -qE 'Displays|Usage:|Options:|Arguments:' '$work/$name.help'"
    check "$name --help says nothing on standard error" test ! -s "$work/$name.err"
    help_options "$work/$name.help" >"$work/$name.help-options"
    man_options "$page" >"$work/$name.man-options"
    check "$name --help and its manual page name the same options" diff "$work/$name.help-options" "$work/$name.man-options"
    check "$name --help names some options" test -s "$work/$name.help-options"
    check "$name --version" grep -qx "$name [0-9.]*" <("$command" --version)
    if [ "$name" != shihai ]; then
        check "$name says an unknown option in Chinese" bash -c \
            "'$command' --no-such-option 2>&1 >/dev/null | grep -q '不认识的选项 --no-such-option'; [ \${PIPESTATUS[0]} = 2 ]"
    fi
    if command -v man >/dev/null; then
        LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" >/dev/null 2>"$work/$name.groff"
        check "$name.1 reads without a warning" test ! -s "$work/$name.groff"
        [ -s "$work/$name.groff" ] && cat "$work/$name.groff"
    fi
done

# The commands of the developers and the build speak Chinese too.
for tool in shihai-evaluate shihai-structure icon/shihai-icon badges/shihai-badges; do
    check "$(basename $tool) --help is a Chinese usage" bash -c "'$build/tools/$tool' --help | grep -q '^用法：'"
done

echo "$failures failures"
[ "$failures" = 0 ]
