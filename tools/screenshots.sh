#!/bin/sh
# Makes the README's screenshots: the main window with the sample pages,
# the spread selected and both overlays on, in English and in Italian,
# on a whole 1366x768 screen of a real X server (Xvfb), to show that the
# window fits a small laptop's screen; and one taken while an archive is
# being made. Run from anywhere; needs a built tree.
#   tools/screenshots.sh [build folder]
set -eu
cd "$(dirname "$0")/.."
build=${1:-build}
if ! command -v xvfb-run > /dev/null; then
    if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq xvfb xauth
fi
cmake --build "$build" --target quirevale-samples quirevale-screenshot
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
samples="$work/Sample Comic"
QT_QPA_PLATFORM=offscreen "$build/tools/quirevale-samples" "$samples" > /dev/null
for language in en:31 it:58; do
    xvfb-run -a -s "-screen 0 1366x768x24" \
        "$build/tools/quirevale-screenshot" "$samples" "docs/screenshot-${language%%:*}.png" "${language#*:}"
done
# A book long enough to be caught while it is made: the sample pages ten times.
book="$work/Long Book"
mkdir "$book"
for copy in 0 1 2 3 4 5 6 7 8 9; do
    for page in "$samples"/*; do
        ln "$page" "$book/$copy $(basename "$page")"
    done
done
xvfb-run -a -s "-screen 0 1366x768x24" \
    "$build/tools/quirevale-screenshot" "$book" docs/screenshot-building.png 31 "$work/Long Book.cbz"
# A book with a spread among single pages and a page of its own.
xvfb-run -a -s "-screen 0 1366x768x24" \
    "$build/tools/quirevale-screenshot" "$samples" docs/screenshot-book.png 31 --book
# Maximized on the small screen, a preset chosen and the Presets menu open.
xvfb-run -a -s "-screen 0 1366x768x24" \
    "$build/tools/quirevale-screenshot" "$samples" docs/screenshot-presets.png 31 --presets
# A Kobo EPUB for a 7 inch reader, the choice of kinds open.
xvfb-run -a -s "-screen 0 1366x768x24" \
    "$build/tools/quirevale-screenshot" "$samples" docs/screenshot-epub.png 31 --epub
# The preset for Kindle by mail: an EPUB in parts of at most 50 MB.
xvfb-run -a -s "-screen 0 1366x768x24" \
    "$build/tools/quirevale-screenshot" "$samples" docs/screenshot-kindle.png 31 --kindle
# A shelf in the queue, caught mid-run with one book failed.
xvfb-run -a -s "-screen 0 1366x768x24" \
    "$build/tools/quirevale-screenshot" "$samples" docs/screenshot-queue.png 31 --queue
# ? > User Guide, a word found in it.
xvfb-run -a -s "-screen 0 1366x768x24" \
    "$build/tools/quirevale-screenshot" "$samples" docs/screenshot-guide.png 31 --guide
# The spread at actual size, and the report of an archive made.
xvfb-run -a -s "-screen 0 1366x768x24" \
    "$build/tools/quirevale-screenshot" "$samples" docs/screenshot-actual-size.png 31 --actual
xvfb-run -a -s "-screen 0 1366x768x24" \
    "$build/tools/quirevale-screenshot" "$samples" docs/screenshot-report.png 31 --report
# A webtoon chapter for the Kobo Libra Colour, the cuts of its strip drawn.
webtoon=$(mktemp -d)
"$build/tools/quirevale-samples" --webtoon "$webtoon" >/dev/null
xvfb-run -a -s "-screen 0 1366x768x24" \
    "$build/tools/quirevale-screenshot" "$webtoon" docs/screenshot-strip.png 31 --strip
rm -rf "$webtoon"
# A page scanned askew, and as "Straighten pages" and "Even out the paper" make it.
xvfb-run -a -s "-screen 0 1366x768x24" \
    "$build/tools/quirevale-screenshot" --straighten docs/straightened.png
echo "wrote docs/screenshot-en.png, docs/screenshot-it.png, docs/screenshot-building.png," \
    "docs/screenshot-book.png, docs/screenshot-presets.png, docs/screenshot-strip.png" \
    "and docs/straightened.png"
