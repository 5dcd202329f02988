#!/usr/bin/env bash
# Regenerates resources/pixmaps/ from the SVG drawings in resources/svg/.
# The rendered files are committed, so the build itself needs neither tool.
# Needs rsvg-convert (librsvg2-bin) and ImageMagick's convert (imagemagick).
set -euo pipefail
cd "$(dirname "$0")/.."
src=resources/svg
out=resources/pixmaps
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$out"

# Icons: one .ico per drawing, with the sizes menus, buttons and the tool bar ask for.
for svg in "$src"/*.svg; do
    name=$(basename "$svg" .svg)
    [ "$name" = KDR-450P ] && continue
    sizes=()
    for s in 16 24 32 48; do
        rsvg-convert -w "$s" -h "$s" "$svg" -o "$tmp/$name-$s.png"
        sizes+=("$tmp/$name-$s.png")
    done
    convert "${sizes[@]}" "$out/$name.ico"
done

# Product picture for the about dialog.
rsvg-convert -w 300 -h 90 "$src/KDR-450P.svg" -o "$out/KDR-450P.png"

# Busy animation: twelve dots on a circle, the bright one moving clockwise.
frames=()
for f in $(seq 0 11); do
    awk -v f="$f" 'BEGIN {
        pi = atan2(0, -1)
        print "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"32\" height=\"32\" viewBox=\"0 0 32 32\">"
        for (i = 0; i < 12; i++) {
            a = (i * 30 - 90) * pi / 180
            age = (f - i + 12) % 12
            op = 1 - age * 0.075
            printf "<circle cx=\"%.2f\" cy=\"%.2f\" r=\"2.6\" fill=\"#2f74c0\" fill-opacity=\"%.2f\"/>\n",
                16 + 11 * cos(a), 16 + 11 * sin(a), op
        }
        print "</svg>"
    }' > "$tmp/busy-$f.svg"
    rsvg-convert -w 32 -h 32 "$tmp/busy-$f.svg" -o "$tmp/busy-$f.png"
    # GIF has one-bit transparency: blend the dots' soft edges onto white first.
    convert "$tmp/busy-$f.png" \( +clone -background white -alpha remove -alpha off \) \
        \( "$tmp/busy-$f.png" -alpha extract -threshold 8% \) -delete 0 \
        -compose CopyOpacity -composite "$tmp/busy-$f-flat.png"
    frames+=("$tmp/busy-$f-flat.png")
done
convert -delay 8 -loop 0 -dispose Background "${frames[@]}" "$out/ajax-loader.gif"
# The window icon doubles as the desktop launcher icon.
cp "$src/Brenlow32.svg" resources/icons/app-icon.svg
echo "rendered into $out"
