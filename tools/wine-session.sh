#!/usr/bin/env bash
# Runs one command inside a private X server and a Wine prefix of its own, then takes
# both down again, whatever the command did:
#
#   tools/wine-session.sh [--screen WxH] [--lang LANG] [--desktop] [--template DIR]
#                         [--use-display] [--timeout SECONDS] -- command [args...]
#   tools/wine-session.sh --make-template DIR
#
# The command sees DISPLAY, WINEPREFIX, WINELOADER, WINESERVER, WINEDEBUG and LANG.
#   --screen WxH       size of the private X screen (default 1024x768)
#   --lang LANG        locale of the Wine processes (default zh_CN.UTF-8, ANSI code page 936)
#   --desktop          every window lives in a Wine virtual desktop of the screen's size,
#                      so that Wine itself draws frames and captions (no window manager)
#   --template DIR     start from a copy of a prefix made with --make-template instead of
#                      creating one (about 1 s instead of about 10 s)
#   --use-display      use the caller's DISPLAY instead of a private X server
#   --timeout SECONDS  end the command after that long (exit code 124)
#   --make-template    create a fresh prefix in DIR (replacing DIR) and keep it
#
# WINELOADER may name the loader; otherwise the 32-bit loader is taken if it runs here,
# else the 64-bit one.
set -euo pipefail

screen=1024x768
lang=zh_CN.UTF-8
desktop=0
template=
make_template=
use_display=0
limit=0

die() {
    echo "wine-session: $*" >&2
    exit 2
}

while (($#)); do
    case $1 in
    --screen) screen=${2:?}; shift 2 ;;
    --lang) lang=${2:?}; shift 2 ;;
    --desktop) desktop=1; shift ;;
    --template) template=${2:?}; shift 2 ;;
    --make-template) make_template=${2:?}; shift 2 ;;
    --use-display) use_display=1; shift ;;
    --timeout) limit=${2:?}; shift 2 ;;
    --) shift; break ;;
    *) die "unknown option '$1' (see the head of $0)" ;;
    esac
done
[[ $screen =~ ^[0-9]+x[0-9]+$ ]] || die "--screen wants WxH, not '$screen'"
[[ -n $make_template || $# -gt 0 ]] || die "no command given after --"
[[ -z $template || -f $template/system.reg ]] || die "'$template' is not a Wine prefix"
((use_display == 0)) || [[ -n ${DISPLAY:-} ]] || die "--use-display without a DISPLAY"

if [[ -z ${WINELOADER:-} ]]; then
    if /usr/lib/wine/wine --version >/dev/null 2>&1; then
        WINELOADER=/usr/lib/wine/wine
    else
        WINELOADER=/usr/lib/wine/wine64
    fi
fi
"$WINELOADER" --version >/dev/null 2>&1 || die "the Wine loader '$WINELOADER' does not run here"
WINESERVER=${WINESERVER:-$(dirname "$WINELOADER")/wineserver}
[[ -x $WINESERVER ]] || WINESERVER=$(command -v wineserver) || die "no wineserver found"

work=$(mktemp -d "${TMPDIR:-/tmp}/wine-session.XXXXXX")
xvfb_pid=
command_pid=

cleanup() {
    local rc=$?
    trap - EXIT INT TERM HUP
    if [[ -n $command_pid ]]; then
        kill -TERM "$command_pid" 2>/dev/null || true
    fi
    if [[ -d $work/prefix ]]; then
        WINEPREFIX=$work/prefix "$WINESERVER" -k >/dev/null 2>&1 || true
        WINEPREFIX=$work/prefix timeout 20 "$WINESERVER" -w >/dev/null 2>&1 || true
    fi
    if [[ -n $xvfb_pid ]]; then
        kill -TERM "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
    exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

if ((use_display == 0)); then
    # -displayfd picks a free display number and reports it once the server accepts
    # clients, so neither a fixed number nor a guess at readiness is needed.
    Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp -noreset -dpi 96 \
        3>"$work/display" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 200); do
        [[ -s $work/display ]] && break
        kill -0 "$xvfb_pid" 2>/dev/null || { cat "$work/xvfb.log" >&2; die "Xvfb did not start"; }
        sleep 0.05
    done
    [[ -s $work/display ]] || die "Xvfb did not report a display"
    export DISPLAY=:$(tr -dc 0-9 <"$work/display")
fi

export WINEPREFIX=$work/prefix WINELOADER WINESERVER
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko: their install dialogs would wait for a click that never comes.
export WINEDLLOVERRIDES="mscoree,mshtml=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
export LANG=$lang LC_ALL=$lang
unset LANGUAGE

# The desktop's mode is fixed when Wine creates the desktop, that is when the first
# process of the session starts: the setting must be in the registry before that.
desktop_into_registry() {
    local now
    now=$(date +%s)
    {
        printf '\n[Software\\\\Wine\\\\Explorer] %s\n"Desktop"="Default"\n' "$now"
        printf '\n[Software\\\\Wine\\\\Explorer\\\\Desktops] %s\n"Default"="%s"\n' "$now" "$screen"
    } >>"$WINEPREFIX/user.reg"
}

if [[ -n $template ]]; then
    cp -a "$template" "$WINEPREFIX"
else
    "$WINELOADER" wineboot.exe --init >/dev/null 2>&1
    # The server writes the registry out when it ends; only then is the prefix complete.
    timeout 60 "$WINESERVER" -w
fi

if [[ -n $make_template ]]; then
    rm -rf "$make_template"
    mkdir -p "$(dirname "$make_template")"
    mv "$WINEPREFIX" "$make_template"
    exit 0
fi

if ((desktop)); then
    desktop_into_registry
fi
"$WINELOADER" wineboot.exe >/dev/null 2>&1

if ((limit > 0)); then
    timeout --kill-after=10 "$limit" "$@" &
else
    "$@" &
fi
command_pid=$!
set +e
wait "$command_pid"
status=$?
set -e
command_pid=
exit "$status"
