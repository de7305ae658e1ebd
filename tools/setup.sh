#!/bin/sh
# Installs whatever the build, the tests and the Wine runs need and is missing, on Debian 12.
# Safe to run again: it installs nothing that is there already. Needs root or sudo.
set -eu

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Can this kernel run 32-bit x86 code? Then 32-bit Wine runs the product itself; otherwise
# (a kernel without IA-32 emulation) the 64-bit build of the same sources is run under
# 64-bit Wine. The probe is a tiny i386 program that only exits.
runs_i386() {
    probe_dir=$(mktemp -d)
    printf '.globl _start\n_start: movl $1, %%eax\nxorl %%ebx, %%ebx\nint $0x80\n' > "$probe_dir/p.s"
    ok=1
    if as --32 -o "$probe_dir/p.o" "$probe_dir/p.s" 2>/dev/null &&
        ld -m elf_i386 -o "$probe_dir/p" "$probe_dir/p.o" 2>/dev/null &&
        "$probe_dir/p" 2>/dev/null; then
        ok=0
    fi
    rm -rf "$probe_dir"
    return $ok
}

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'ok installed'
}

if ! command -v as >/dev/null 2>&1; then
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq binutils
fi

packages="cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
    g++-mingw-w64-i686 g++-mingw-w64-x86-64 xvfb xauth scrot x11-utils fonts-wqy-microhei fonts-wine locales"
if runs_i386; then
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        as_root dpkg --add-architecture i386
        need_update=1
    fi
    packages="$packages wine wine32:i386"
else
    packages="$packages wine wine64"
fi

missing=""
for p in $packages; do
    installed "$p" || missing="$missing $p"
done
if [ -n "$missing" ]; then
    echo "setup: installing$missing"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing >/dev/null
elif [ -n "${need_update:-}" ]; then
    as_root apt-get update -qq
fi

# Wine takes its ANSI code page from the locale: zh_CN.UTF-8 gives code page 936.
for loc in zh_CN en_US; do
    if ! locale -a 2>/dev/null | grep -qx "$loc.utf8"; then
        as_root sed -i "s/^# *\($loc.UTF-8 UTF-8\)/\1/" /etc/locale.gen
        regen=1
    fi
done
if [ -n "${regen:-}" ]; then
    as_root locale-gen >/dev/null
fi
