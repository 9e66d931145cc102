#!/bin/sh
# Renders the artwork sources in this folder into the pictures the program
# embeds (one folder up). Needs rsvg-convert (librsvg2-bin) and icotool (icoutils).
set -e
here=$(cd "$(dirname "$0")" && pwd)
out="$here/.."
for name in about exit folder page_left page_right scissors thankyou; do
    rsvg-convert "$here/$name.svg" -o "$out/$name.png"
done
# The application icon: 32 x 32 for the desktop's icon theme, and the same
# picture as a plain 32-bit BMP entry (not PNG-compressed) in the ICO file.
rsvg-convert -w 32 -h 32 "$here/quirevale.svg" -o "$out/desktop/quirevale-32.png"
icotool -c -o "$out/Quirevale.ico" "$out/desktop/quirevale-32.png"
