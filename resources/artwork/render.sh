#!/bin/sh
# Renders the artwork sources in this folder into the pictures the program
# embeds (one folder up). Needs rsvg-convert (librsvg2-bin) and icotool (icoutils).
set -e
here=$(cd "$(dirname "$0")" && pwd)
out="$here/.."
for name in about exit folder page_left page_right scissors thankyou; do
    rsvg-convert "$here/$name.svg" -o "$out/$name.png"
done
rsvg-convert -w 32 -h 32 "$here/quirevale.svg" -o "$here/quirevale-32.png"
# A plain 32-bit BMP entry (not PNG-compressed), as Windows shell icons expect.
icotool -c -o "$out/Quirevale.ico" "$here/quirevale-32.png"
rm -f "$here/quirevale-32.png"
