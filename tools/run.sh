#!/usr/bin/env bash
# Builds the Windows program that Wine can run on this machine (the 32-bit product where
# 32-bit Wine runs, else the 64-bit build of the same sources) and runs it under Wine
# with LANG=zh_CN.UTF-8, so that the ANSI code page is 936.
#
#   tools/run.sh [extra cmake configure options, e.g. -DBRINDLOW_QUIZ_HOST=...]
#
# With a DISPLAY the window appears there, and the script returns when it is closed.
# Without one, it starts a private X server with a Wine virtual desktop (so that Wine
# draws the frame and the title), waits until the main window is up, captures one
# snippet so that 编辑框2 shows a record, saves a PNG screenshot of the window and prints
# its path: build/<preset>/screenshot.png, or $BRINDLOW_SCREENSHOT.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
sh tools/setup.sh

if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    preset=win32 WINELOADER=/usr/lib/wine/wine
else
    preset=win64 WINELOADER=/usr/lib/wine/wine64
fi
export WINELOADER
"$WINELOADER" --version >/dev/null 2>&1 || { echo "run.sh: Wine ($WINELOADER) does not run here" >&2; exit 1; }

cmake --preset "$preset" "$@" >/dev/null
cmake --build --preset "$preset" --target brindlow brindlow_demo
build=$root/build/$preset
tool=$build/bin/brindlow.exe

# The project's own prefix, outside the source tree, made once and copied for each run:
# a copy takes a second, a new one ten.
prefix=${XDG_DATA_HOME:-$HOME/.local/share}/brindlow/wine-$preset
if [[ ! -f $prefix/system.reg ]]; then
    echo "run.sh: making a Wine prefix in $prefix (once)" >&2
    tools/wine-session.sh --make-template "$prefix"
fi

if [[ -n ${DISPLAY:-} ]]; then
    exec tools/wine-session.sh --use-display --template "$prefix" -- "$WINELOADER" "$tool"
fi

bank=$(sed -n 's/^BRINDLOW_BANK_FILE:[A-Z]*=//p' "$build/CMakeCache.txt")
screenshot=${BRINDLOW_SCREENSHOT:-$build/screenshot.png}
screenshot=$(realpath -m "$screenshot")
mkdir -p "$(dirname "$screenshot")"
export BRINDLOW_RUN_SCREENSHOT=$screenshot
# Inside the session: the demo starts the tool, waits for its window and captures a
# snippet; it prints the window's rectangle, which is the part of the screen kept.
tools/wine-session.sh --desktop --screen 1024x768 --template "$prefix" -- bash -c '
    set -euo pipefail
    # A file, not a pipe: the Wine processes that the demo starts keep a pipe open.
    printed=$(mktemp)
    trap "rm -f \"\$printed\"" EXIT
    "$1" "$2" --tool="$3" --bank="$4" >"$printed"
    rect=$(tr -d "\\r" <"$printed" | sed -n "s/^window //p")
    [[ -n $rect ]] || { echo "run.sh: the window did not come up" >&2; exit 1; }
    read -r left top width height <<<"$rect"
    sleep 1
    scrot --overwrite --autoselect "$left,$top,$width,$height" "$BRINDLOW_RUN_SCREENSHOT"
' run "$root/tests/e2e/run-driver.sh" "$build/bin/brindlow_demo.exe" "$tool" "$bank"
echo "$screenshot"
