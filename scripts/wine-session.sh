# Sourced by the test scripts: a throw-away Wine prefix, a virtual display and a persistent wineserver for the
# life of the calling script. Everything started here is stopped by end_wine_session (also on exit).

# Debian's "wine" command starts its 32-bit loader, which a machine whose kernel runs no 32-bit code cannot execute.
# There the 64-bit loader runs the 64-bit programs, and no 32-bit program runs at all: KORU_WINE is the command to
# start a Windows program with, KORU_RUNS_32BIT tells whether 32-bit ones run.
choose_wine() {
    export KORU_WINE KORU_RUNS_32BIT
    if /usr/lib/wine/wine --version >/dev/null 2>&1; then
        KORU_WINE="$(command -v wine)"
        KORU_RUNS_32BIT=1
    else
        KORU_WINE=/usr/lib/wine/wine64
        KORU_RUNS_32BIT=0
        export WINELOADER="$KORU_WINE"
    fi
}

start_wine_session() {
    # Set first, so that whatever starts below is cleaned up however the script ends.
    trap end_wine_session EXIT
    choose_wine
    export WINEPREFIX
    WINEPREFIX="$(mktemp -d /tmp/koru-wine.XXXXXX)"
    export WINEDEBUG=-all
    export WINEARCH=win64
    # No Mono or Gecko installer may block the first start of the prefix.
    export WINEDLLOVERRIDES="mscoree,mshtml="

    local displayfile
    displayfile="$(mktemp)"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$displayfile" >/dev/null 2>&1 &
    KORU_XVFB_PID=$!
    for _ in $(seq 1 100); do
        [ -s "$displayfile" ] && break
        kill -0 "$KORU_XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    local display
    display="$(head -n1 "$displayfile")"
    rm -f "$displayfile"
    if [ -z "$display" ]; then
        echo "wine-session: Xvfb did not come up" >&2
        return 1
    fi
    export DISPLAY=":$display"

    # Every wait has a bound: a prefix that does not come up in minutes will not come up at all.
    local bootlog status=0
    bootlog="$(mktemp)"
    timeout 300 "$KORU_WINE" wineboot --init >"$bootlog" 2>&1 || status=$?
    if [ "$status" -ne 0 ]; then
        echo "wine-session: wineboot failed (status $status; 124 means it did not finish in 300 s):" >&2
        cat "$bootlog" >&2
        rm -f "$bootlog"
        return 1
    fi
    rm -f "$bootlog"
    timeout 300 wineserver -w
    # A crashing test program must end, not wait in Wine's crash dialog.
    timeout 120 "$KORU_WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    # Xvfb runs no window manager: unmanaged windows spare each hidden window a two-second wait for one.
    timeout 120 "$KORU_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    timeout 300 wineserver -w
    # A persistent server keeps every later start of a Windows program fast.
    wineserver -p
    # The first program of a new server starts the prefix's services, which stay for the server's life holding
    # the output pipes they inherit; started here, they hold none that a test runner waits on.
    timeout 120 "$KORU_WINE" cmd /c exit >/dev/null 2>&1 </dev/null || true
}

end_wine_session() {
    if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
        wineserver -k >/dev/null 2>&1 || true
        timeout 60 wineserver -w >/dev/null 2>&1 || true
        rm -rf "$WINEPREFIX"
    fi
    if [ -n "${KORU_XVFB_PID:-}" ]; then
        kill "$KORU_XVFB_PID" >/dev/null 2>&1 || true
    fi
    KORU_XVFB_PID=""
}
