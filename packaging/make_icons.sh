#!/usr/bin/env bash
# Renders the PNG icons from the SVG (rsvg-convert, Debian package librsvg2-bin). The PNGs are
# committed, so building never needs this tool.
set -euo pipefail
cd "$(dirname "$0")/icons"
for size in 16 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" org.tallyfold.Tallyfold.svg -o "org.tallyfold.Tallyfold-${size}.png"
done
