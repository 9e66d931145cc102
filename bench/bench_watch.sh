#!/bin/sh
# A watched folder against one call: the same books (3 JPEG pages each,
# kept as they are) dropped into a folder quirevale-cli --watch watches,
# against the same books made by one quirevale-cli call; the watch's time
# runs from the drop to its last JSON line, less the settle time. Then the
# watch's peak memory after 100 and after 1,000 books: it should not grow
# with the books it has made.
#   bench/bench_watch.sh [build folder] [books]
set -eu
build=${1:-build}
books=${2:-200}
cli="$PWD/$build/quirevale-cli"
samples="$PWD/$build/tools/quirevale-samples"
work=$(mktemp -d)
trap 'kill "$watcher" 2>/dev/null || true; rm -rf "$work"' EXIT
watcher=0
export QT_QPA_PLATFORM=offscreen
"$samples" "$work/samples" > /dev/null 2>&1
mkbooks() { # mkbooks <folder> <count>
    mkdir -p "$1"
    i=0
    while [ "$i" -lt "$2" ]; do
        mkdir "$1/Book $i"
        for page in "$work"/samples/*8.jpg "$work"/samples/*9.jpg "$work"/samples/*3.jpg; do
            ln "$page" "$1/Book $i/$(basename "$page")"
        done
        i=$((i + 1))
    done
}
now() { date +%s.%N; }
lines() { if [ -f "$1" ]; then wc -l < "$1"; else echo 0; fi; }

mkbooks "$work/staged" "$books"
mkdir -p "$work/one"
start=$(now)
"$cli" -q --keep-jpeg --report json -o "$work/one/" "$work"/staged/*/ > "$work/one.json"
one=$(echo "$(now) - $start" | bc)

mkdir -p "$work/inbox" "$work/watched"
"$cli" -q --keep-jpeg --watch "$work/inbox" --settle 1 --poll 1 --report json \
    -o "$work/watched/" > "$work/watch.json" &
watcher=$!
sleep 1
start=$(now)
mv "$work"/staged/* "$work/inbox/"
while [ "$(lines "$work/watch.json")" -lt "$books" ]; do sleep 0.05; done
watched=$(echo "$(now) - $start - 1" | bc)
printf '%d books: one call %.2f s, the watch %.2f s after settling (%.3fx)\n' \
    "$books" "$one" "$watched" "$(echo "$watched / $one" | bc -l)"
kill -TERM "$watcher"
wait "$watcher" || true

# Memory over many books, read as it goes.
rm -rf "$work/inbox" "$work/watched" "$work/watch.json"
mkdir -p "$work/inbox" "$work/watched"
"$cli" -q --keep-jpeg --watch "$work/inbox" --settle 1 --poll 1 --report json \
    -o "$work/watched/" > "$work/watch.json" &
watcher=$!
mkbooks "$work/first" 100
mv "$work"/first/* "$work/inbox/"
while [ "$(lines "$work/watch.json")" -lt 100 ]; do sleep 0.1; done
at100=$(grep VmHWM "/proc/$watcher/status" | tr -s ' ' | cut -d' ' -f2)
mkbooks "$work/rest" 900
for book in "$work"/rest/*; do mv "$book" "$work/inbox/Later $(basename "$book")"; done
while [ "$(lines "$work/watch.json")" -lt 1000 ]; do sleep 0.2; done
at1000=$(grep VmHWM "/proc/$watcher/status" | tr -s ' ' | cut -d' ' -f2)
printf 'the watch'"'"'s peak memory: %d KiB after 100 books, %d KiB after 1,000 (%.2fx)\n' \
    "$at100" "$at1000" "$(echo "$at1000 / $at100" | bc -l)"
