#!/bin/sh
# Fills every carried document template with sample values and, when
# LibreOffice is installed, turns each filled document into a PDF file, so
# that a person can read them as the clerk will print them.
#
#     scripts/render-templates.sh [build folder] [output folder]
#
# Needs a build (cmake --build build --target fill-template). Not part of the
# tests: LibreOffice is heavy and only needed to look at the pages.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
out=${2:-$build/templates-rendered}
tool=$build/bin/fill-template

if [ ! -x "$tool" ]; then
    echo "fill-template not built: cmake --build $build --target fill-template" >&2
    exit 1
fi

rm -rf "$out"
mkdir -p "$out/rtf"
"$tool" "$root/resources/templates" "$out/rtf"
echo "filled documents: $out/rtf"

office=$(command -v soffice || command -v libreoffice || true)
if [ -z "$office" ]; then
    echo "LibreOffice is not installed; the RTF documents are left for reading." >&2
    exit 0
fi
mkdir -p "$out/pdf"
# A private profile keeps the run away from the user's own LibreOffice settings.
"$office" -env:UserInstallation="file://$out/profile" --headless --convert-to pdf \
    --outdir "$out/pdf" "$out"/rtf/*.rtf > "$out/libreoffice.log" 2>&1
rm -rf "$out/profile"
echo "PDF files: $out/pdf ($(ls "$out/pdf" | wc -l) documents)"
