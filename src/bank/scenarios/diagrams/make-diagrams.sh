#!/usr/bin/env bash
# Renders every topology diagram of the scenario bank from src/NAME.svg to NAME.png, at twice the
# drawing's size so that the pictures stay sharp on high-density screens.
# The PNGs are committed, so building the program needs no SVG renderer; rerun this after editing an SVG.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cd "$here"

if ! command -v rsvg-convert >/dev/null 2>&1; then
    echo "make-diagrams.sh: rsvg-convert not found (install package librsvg2-bin)" >&2
    exit 1
fi

shopt -s nullglob
sources=(src/*.svg)
if [ ${#sources[@]} -eq 0 ]; then
    echo "make-diagrams.sh: no SVG files in $here/src" >&2
    exit 1
fi

echo "Rendering diagrams in $here"
for svg in "${sources[@]}"; do
    png="$(basename "${svg%.svg}").png"
    rsvg-convert --zoom 2 --format png --output "$png" "$svg"
    echo "  $png"
done
