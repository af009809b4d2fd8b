#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every file of code and build script in the tree names the program's licence in its first lines.
set -euo pipefail
cd "$1"
missing=$(find . \( -path ./build -o -path './build-*' -o -path ./node_modules -o -path ./data -o -path ./.git \) -prune -o \
    -type f \( -name '*.cpp' -o -name '*.h' -o -name CMakeLists.txt -o -name '*.cmake' -o -name '*.sh' \) -print |
    while read -r f; do head -n 3 "$f" | grep -q 'SPDX-License-Identifier: GPL-3.0-or-later' || echo "$f"; done)
[ -z "$missing" ] || { printf 'without an SPDX line:\n%s\n' "$missing"; exit 1; }
grep -q 'GNU GENERAL PUBLIC LICENSE' LICENSE
