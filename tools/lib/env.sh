# Shared set-up for tools/test.sh, tools/run.sh and the benchmark scripts: Debian packages,
# the two cross builds, a Wine prefix of our own, an X display and a persistent wineserver.
# Source it from bash; it defines functions only.

YUNTI_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
YUNTI_BUILD=${YUNTI_BUILD:-$YUNTI_ROOT/build}
# YUNTI_ARCHES="x86_64" narrows a development run to one build.
read -r -a YUNTI_ARCHES <<<"${YUNTI_ARCHES:-i686 x86_64}"

yunti_packages=(
    cmake ninja-build python3
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
    wine64 wine32:i386 xvfb xauth x11-utils fonts-wqy-zenhei googletest
    libarchive-tools p7zip-full xdotool imagemagick
)

log() { printf '== %s\n' "$*"; }

# Debian's wine64 package keeps the server beside the loaders; the "wine" package adds
# /usr/bin/wineserver. Use whichever this machine has.
wineserver() {
    if [ -x /usr/bin/wineserver ]; then
        /usr/bin/wineserver "$@"
    else
        /usr/lib/wine/wineserver "$@"
    fi
}

# Installs the Debian packages that are missing (as root; otherwise says what to install).
ensure_packages() {
    local missing=() p
    for p in "${yunti_packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "missing Debian packages: ${missing[*]} (run this as root to install them)" >&2
        return 1
    fi
    log "installing ${missing[*]}"
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Configures (once) and builds one architecture: build/<arch>.
build_arch() {
    local arch=$1 dir=$YUNTI_BUILD/$1
    if [ ! -f "$dir/build.ninja" ]; then
        cmake -S "$YUNTI_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_TOOLCHAIN_FILE="$YUNTI_ROOT/cmake/toolchain-$arch-w64-mingw32.cmake" >/dev/null
    fi
    cmake --build "$dir" -- -k 0
}

build_all() {
    local arch
    for arch in "${YUNTI_ARCHES[@]}"; do
        log "building $arch"
        build_arch "$arch" || return 1
    done
}

# A fresh Wine prefix for this run: no crash debugger (a crash fails fast), no window
# manager hand-off (DestroyWindow of a visible window would block), and the two Chinese
# UI faces mapped onto WenQuanYi Zen Hei.
make_wine_prefix() {
    export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
    wineserver -w
    local reg=$WINEPREFIX/yunti-settings.reg
    {
        printf '\xff\xfe'
        iconv -f UTF-8 -t UTF-16LE <<'REG'
Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug]
"Debugger"=-
"Auto"="0"

[HKEY_LOCAL_MACHINE\Software\Wow6432Node\Microsoft\Windows NT\CurrentVersion\AeDebug]
"Debugger"=-
"Auto"="0"

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
"Decorated"="N"

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"宋体"="WenQuanYi Zen Hei"
"微软雅黑"="WenQuanYi Zen Hei"

REG
    } >"$reg"
    /usr/lib/wine/wine64 regedit /S "$reg" >/dev/null 2>&1
    # The system's own dialog faces get CJK glyphs through font linking (system message
    # boxes and standard controls show Chinese texts).
    local face
    for face in "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif"; do
        /usr/lib/wine/wine64 reg add \
            'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
            /v "$face" /t REG_MULTI_SZ /d "wqy-zenhei.ttc,WenQuanYi Zen Hei" /f >/dev/null 2>&1
    done
    wineserver -w
    # Written last: a prefix without it was cut off half-way and is made again.
    touch "$WINEPREFIX/yunti-prefix-ready"
}

# Starts Xvfb on a free display unless one is given; exports DISPLAY. YUNTI_SCREEN sets the
# screen's size and depth (default 1600x1000x24).
YUNTI_XVFB_PID=
start_display() {
    local n
    for n in $(seq 91 140); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break
    done
    Xvfb ":$n" -screen 0 "${YUNTI_SCREEN:-1600x1000x24}" -nolisten tcp >/dev/null 2>&1 &
    YUNTI_XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 100); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "Xvfb did not start on $DISPLAY" >&2
    return 1
}

stop_display() {
    [ -n "$YUNTI_XVFB_PID" ] && kill "$YUNTI_XVFB_PID" 2>/dev/null
    YUNTI_XVFB_PID=
}

# A persistent wineserver keeps every test process start at a fraction of a second.
# A first process with its output to /dev/null starts Wine's background services
# (explorer, services, rpcss...), so they do not inherit a test runner's pipes.
start_wineserver() {
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w
    wineserver -p >/dev/null 2>&1
    /usr/lib/wine/wine64 cmd /c exit </dev/null >/dev/null 2>&1
}

# Whether this kernel runs 32-bit x86 programs at all (Wine's 32-bit loader is one).
# Some virtual machines are built without IA-32 emulation.
can_run_wine32() {
    /usr/lib/wine/wine --version >/dev/null 2>&1
}

stop_wineserver() {
    wineserver -k >/dev/null 2>&1 || true
}
