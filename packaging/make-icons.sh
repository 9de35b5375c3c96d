#!/usr/bin/env bash
# Renders the desktop icon sizes the program's own window icons lack (22, 128
# and 256 px; src/gui/pictures has 16, 24, 32, 48 and 64) from the same SVG,
# src/gui/pictures/icon.svg, with rsvg-convert. The PNGs are committed, so
# installing needs no SVG renderer; rerun this only after editing the SVG.
# The scalable icon is installed straight from that SVG.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
svg="$here/../src/gui/pictures/icon.svg"

if ! command -v rsvg-convert >/dev/null 2>&1; then
    echo "make-icons.sh: rsvg-convert not found (install package librsvg2-bin)" >&2
    exit 1
fi

mkdir -p "$here/icons"
for size in 22 128 256; do
    rsvg-convert --width "$size" --height "$size" --format png --output "$here/icons/icon-$size.png" "$svg"
    echo "  icons/icon-$size.png"
done
