#!/usr/bin/env bash
# Builds both architectures and runs every test under Wine on a private X display.
# Usage: tools/test.sh [ctest arguments...]      (as root on a fresh Debian machine)
set -uo pipefail
source "$(dirname "$0")/lib/env.sh"

ensure_packages || exit 1
build_all || exit 1

log "preparing the Wine prefix"
make_wine_prefix "$YUNTI_BUILD/wineprefix"
start_display || exit 1
trap 'stop_wineserver; stop_display' EXIT
start_wineserver

status=0
for arch in "${YUNTI_ARCHES[@]}"; do
    if [ "$arch" = i686 ] && ! can_run_wine32; then
        log "NOT testing i686: this kernel cannot execute 32-bit x86 programs, so Wine's 32-bit" \
            "loader cannot start here (the i686 build was compiled and linked above);" \
            "running its build-host checks only"
        ctest --test-dir "$YUNTI_BUILD/$arch" --output-on-failure -L host "$@" || status=1
        continue
    fi
    log "testing $arch"
    ctest --test-dir "$YUNTI_BUILD/$arch" --output-on-failure --timeout 900 "$@" || status=1
done
exit $status
