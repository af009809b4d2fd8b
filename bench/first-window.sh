#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Times a newcomer's first start: as root, clones REPO at COMMIT into USER's home, runs `bash setup.sh run`
# there as USER (npm cache emptied first) and prints the seconds until the program's process is up.
#   bash bench/first-window.sh REPO COMMIT USER
set -u
(($# == 3)) || { echo "usage: $0 REPO COMMIT USER" >&2; exit 2; }
repo=$1 commit=$2 user=$3
home=$(getent passwd "$user" | cut -d: -f6)
[ -n "$home" ] || { echo "no user $user" >&2; exit 1; }
dir=$home/first-window-$commit
rm -rf "$dir" "$home/.npm"
git clone -q "$repo" "$dir" && git -C "$dir" checkout -q "$commit" && chown -R "$user:" "$dir" || exit 1
start=$(date +%s.%N)
su "$user" -c "cd '$dir' && QT_QPA_PLATFORM=offscreen bash setup.sh run" >"$dir.log" 2>&1 &
setup=$!
until pgrep -u "$user" -x shihai >/dev/null; do
    sleep 1
    kill -0 "$setup" 2>/dev/null || { echo "setup ended without starting the program (see $dir.log)" >&2; exit 1; }
done
echo "$commit: first window after $(echo "$(date +%s.%N) - $start" | bc) s"
sleep 3
pkill -u "$user" -x shihai
wait
