#!/usr/bin/env bash
# Runs a Windows program of the end-to-end tests with the Wine session's loader
# (tools/wine-session.sh sets WINELOADER), with a recording xdg-open first on the PATH
# of the Wine processes. Arguments --name=/unix/path reach the program as Windows paths
# on drive Z:, and the program learns where the recording goes from --open-log.
#
#   run-driver.sh program.exe [--name=value...] [--filter=...]
set -euo pipefail
[[ -n ${WINELOADER:-} ]] || { echo "run-driver.sh: run me inside tools/wine-session.sh" >&2; exit 2; }

recorder=$(mktemp -d "${TMPDIR:-/tmp}/brindlow-open.XXXXXX")
trap 'rm -rf "$recorder"' EXIT
log=$recorder/opens.log
: >"$log"
# One line per call: the argument count, then each argument in brackets.
cat >"$recorder/xdg-open" <<SCRIPT
#!/bin/sh
line=\$#
for argument in "\$@"; do line="\$line [\$argument]"; done
printf '%s\n' "\$line" >>'$log'
SCRIPT
chmod +x "$recorder/xdg-open"
export PATH=$recorder:$PATH

windows_path() {
    printf 'Z:%s' "$(printf '%s' "$1" | tr / '\\')"
}

program=$1
shift
args=()
for argument in "$@"; do
    case $argument in
    --*=/*) args+=("${argument%%=*}=$(windows_path "${argument#*=}")") ;;
    *) args+=("$argument") ;;
    esac
done
"$WINELOADER" "$program" "${args[@]}" "--open-log=$(windows_path "$log")"
