#!/usr/bin/env bash
# Renders the program's pictures (banner, side strip, window icon) from the SVG sources here to PNG with rsvg-convert.
# The output PNGs are committed, so building the program needs no SVG renderer; rerun this only after editing an SVG.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cd "$here"

if ! command -v rsvg-convert >/dev/null 2>&1; then
    echo "make-pictures.sh: rsvg-convert not found (install package librsvg2-bin)" >&2
    exit 1
fi

# render SVG WIDTH HEIGHT OUTPUT
render() {
    rsvg-convert --width "$2" --height "$3" --format png --output "$4" "$1"
    echo "  $4 (${2}x${3})"
}

echo "Rendering pictures in $here"

render banner.svg 627 210 banner.png
render banner.svg 1254 420 banner@2x.png

render strip.svg 54 540 strip.png
render strip.svg 108 1080 strip@2x.png

for size in 16 24 32 48 64; do
    render icon.svg "$size" "$size" "icon-$size.png"
done
