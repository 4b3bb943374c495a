#!/usr/bin/env bash
# Builds both architectures and runs the benchmarks under Wine on a private X display large
# enough for a 1920 x 1080 window: the rendering benchmark (full redraws and single-element
# repaints) and the start-up benchmark (process start to the main window's first paint, and
# the peak memory); each prints medians and ratios to its floor.
# Usage: tools/bench.sh        (as root on a fresh Debian machine)
set -uo pipefail
source "$(dirname "$0")/lib/env.sh"

ensure_packages || exit 1
build_all || exit 1

log "preparing the Wine prefix"
make_wine_prefix "$YUNTI_BUILD/bench-prefix"
YUNTI_SCREEN=2560x1600x24 start_display || exit 1
trap 'stop_wineserver; stop_display' EXIT
start_wineserver

# The 64-bit build runs everywhere Wine does; the 32-bit one where the kernel allows it.
arches=(x86_64)
can_run_wine32 && arches+=(i686)
status=0
for arch in "${arches[@]}"; do
    loader=/usr/lib/wine/wine64
    [ "$arch" = i686 ] && loader=/usr/lib/wine/wine
    for bench in render_bench startup_bench; do
        out=$YUNTI_BUILD/$arch/bench/$bench.txt
        log "$bench ($arch, $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'))"
        # Wine's output goes to a file: piping it can hang.
        "$loader" "$YUNTI_BUILD/$arch/bench/$bench.exe" >"$out" 2>&1 || status=1
        cat "$out"
    done
done
exit $status
