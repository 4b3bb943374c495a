#!/usr/bin/env bash
# Builds Yunti and starts it under Wine on your X display.
# Usage: tools/run.sh        (as root on a fresh Debian machine; needs DISPLAY)
set -uo pipefail
source "$(dirname "$0")/lib/env.sh"

if [ -z "${DISPLAY:-}" ]; then
    echo "No X display (DISPLAY is not set): Yunti is a desktop program and needs one." >&2
    echo "Run this from a desktop session, or start one (e.g. Xvfb :1 & DISPLAY=:1 $0)." >&2
    exit 1
fi
ensure_packages || exit 1
build_all || exit 1

# The program keeps its own Wine prefix between runs, apart from the tests' one.
prefix=$YUNTI_BUILD/run-prefix
if [ ! -f "$prefix/system.reg" ]; then
    log "preparing the Wine prefix $prefix"
    make_wine_prefix "$prefix"
fi
export WINEPREFIX=$prefix WINEDEBUG=-all

# The release program is the 32-bit build; kernels without 32-bit support get the 64-bit one.
if can_run_wine32; then
    exe=$YUNTI_BUILD/i686/app/yunti.exe loader=/usr/lib/wine/wine
else
    log "this kernel cannot run 32-bit programs: starting the 64-bit build"
    exe=$YUNTI_BUILD/x86_64/app/yunti.exe loader=/usr/lib/wine/wine64
fi
log "starting $exe"
"$loader" "$exe" >"$YUNTI_BUILD/run.log" 2>&1
status=$?
wineserver -k >/dev/null 2>&1 || true
exit $status
