#!/bin/sh
# Installs what is missing, builds every preset and runs every test, end-to-end tests under
# Wine included. Prints ctest's summary of each build tree; exits non-zero if anything fails.
set -eu
cd "$(dirname "$0")/.."
sh tools/setup.sh

wine_preset=$(sh tools/windows-preset.sh)
presets="host fuzz win32"
[ "$wine_preset" = win32 ] || presets="$presets $wine_preset"

for preset in $presets; do
    echo "== build $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
done

status=0
for preset in $presets; do
    echo "== test $preset"
    parallel=2
    case $preset in win*) parallel=1 ;; esac
    ctest --preset "$preset" -j "$parallel" || status=1
done
exit $status
