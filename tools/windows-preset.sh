#!/bin/sh
# Prints the Windows preset whose programs Wine can run on this machine: win32 where 32-bit
# Wine runs, otherwise win64.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo win32
else
    echo win64
fi
