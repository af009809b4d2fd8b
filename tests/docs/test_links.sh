#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every picture and page the README and docs/ point to is in the repository: a link to a moved or
# renamed file is a blank picture or a dead link for the reader.
# usage: test_links.sh SOURCE_DIR
set -euo pipefail
cd "$1"
broken=0
while IFS= read -r page; do
    # Links and pictures written as [text](target) or ![text](target); web addresses and anchors aside.
    while IFS= read -r target; do
        target=${target%%#*}
        [ -n "$target" ] || continue
        if [ ! -e "$(dirname "$page")/$target" ]; then
            echo "$page: no $target" >&2
            broken=1
        fi
    done < <(grep -o '](\([^)]*\))' "$page" | sed 's/^](\(.*\))$/\1/' | grep -v -E '^(https?:|mailto:|#)')
done < <(git ls-files '*.md' 2>/dev/null || find . -name '*.md' -not -path './node_modules/*' -not -path './build*')
exit "$broken"
