#!/usr/bin/env bash
# Renders the list rows' pictures and the program's icon from their SVG sources.
# Needs rsvg-convert (librsvg2-bin). Run after changing a source; commit the PNGs.
set -euo pipefail
cd "$(dirname "$0")/../resources"

rsvg-convert --width 32 --height 32 --output pictures/computer.png sources/computer.svg
rsvg-convert --width 16 --height 16 --output pictures/badge.png sources/badge.svg
for size in 16 24 32 48 64 72 96 128 256; do
    rsvg-convert --width "$size" --height "$size" --output "icons/ostrel-$size.png" sources/computer.svg
done
