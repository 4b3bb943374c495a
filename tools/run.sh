#!/usr/bin/env bash
# Builds Yunti and starts it under Wine on your X display, with what it needs around it:
#   - a demo client folder in the Wine prefix, C:\CF演示客户端 (the QQLogin.exe marker and
#     rez\UI\class with the stock badges), made afresh on every run;
#   - the version server: "1" at http://127.0.0.1:18731/yunti/version.txt, the address the
#     program is built with by default, so it starts normally;
#   - an archiver for "还原": the project's stand-in archiver (it extracts the stored RAR
#     archive Yunti drops) registered under the archiver's App Paths entry.
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

# The release program is the 32-bit build; kernels without 32-bit support get the 64-bit one.
if can_run_wine32; then
    arch=i686 loader=/usr/lib/wine/wine
else
    log "this kernel cannot run 32-bit programs: starting the 64-bit build"
    arch=x86_64 loader=/usr/lib/wine/wine64
fi
exe=$YUNTI_BUILD/$arch/app/yunti.exe

# The program keeps its own Wine prefix between runs, apart from the tests' one.
prefix=$YUNTI_BUILD/run-prefix
if [ ! -f "$prefix/yunti-prefix-ready" ]; then
    log "preparing the Wine prefix $prefix"
    make_wine_prefix "$prefix"
fi
export WINEPREFIX=$prefix WINEDEBUG=-all

# The demo client folder, stock again on every run.
demo_windows='C:\CF演示客户端'
demo=$prefix/drive_c/CF演示客户端
rm -rf "$demo"
mkdir -p "$demo/rez/UI"
printf 'MZ' >"$demo/QQLogin.exe"
bsdtar -xf "$YUNTI_ROOT/resources/stock_badges.rar" -C "$demo/rez/UI" || exit 1
rm -f "$prefix/drive_c/windows/class.rar"

# The stand-in archiver as the archiver.
tools=$prefix/drive_c/演示解压工具
mkdir -p "$tools"
cp "$YUNTI_BUILD/$arch/tests/standin_archiver.exe" "$tools/standin_archiver.exe"
"$loader" reg add 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\WinRAR.exe' \
    /ve /d 'C:\演示解压工具\standin_archiver.exe' /f >/dev/null 2>&1

# The version server.
site=$YUNTI_BUILD/version-site
mkdir -p "$site/yunti"
printf '1' >"$site/yunti/version.txt"
printf '<!doctype html><meta charset="utf-8"><title>云梯助手</title><p>云梯助手 的下载页。\n' \
    >"$site/yunti/index.html"
python3 -m http.server 18731 --bind 127.0.0.1 --directory "$site" >"$YUNTI_BUILD/version-server.log" 2>&1 &
server=$!
trap 'kill $server 2>/dev/null; wineserver -k >/dev/null 2>&1 || true' EXIT
for _ in $(seq 1 50); do
    python3 -c 'import urllib.request; urllib.request.urlopen("http://127.0.0.1:18731/yunti/version.txt", timeout=1)' \
        >/dev/null 2>&1 && break
    if ! kill -0 $server 2>/dev/null; then
        echo "The version server could not start on 127.0.0.1:18731 (is the port in use?)." >&2
        exit 1
    fi
    sleep 0.1
done

log "demo client folder: $demo_windows (in Linux: $demo)"
log "choose it with 选择目录 or type it into the folder field; the program's output goes to $YUNTI_BUILD/run.log"
log "starting $exe"
(cd "$YUNTI_BUILD/$arch/app" && "$loader" "$exe" >"$YUNTI_BUILD/run.log" 2>&1)
status=$?
log "Yunti ended with exit code $status"
exit $status
