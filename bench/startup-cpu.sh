#!/usr/bin/env bash
# Start-up cost of the launcher beside its floors, as CPU time: a wall clock on a shared machine measures the
# neighbours as much as the program. Each start is charged with the CPU time of its own processes and of the
# prefix's wineserver (which does the file, registry and window work of every Windows call, and serves no one
# else here). The programs take turns run by run; medians, quartiles and tenth percentiles are printed, and the
# ratios taken within each round.
# Sourced by bench/run.sh inside a Wine session; usage: startup_cpu <bin folder> <runs> [launcher exe]
# (another launcher, an older build say, is measured in place of the one in the bin folder).
startup_cpu() {
    local bin="$1" runs="$2" launcher="${3:-}"
    [ -n "$launcher" ] || launcher="$bin/koru.exe"
    local work
    work="$(mktemp -d /tmp/koru-bench.XXXXXX)"
    mkdir -p "$work/app/lib" "$work/jre/bin/server"
    cp "$launcher" "$work/app/bench.exe"
    cp "$bin/standin/jvm.dll" "$work/jre/bin/server/jvm.dll"
    : >"$work/app/lib/app.jar"
    local jre="Z:${work//\//\\}\\jre"
    printf '[Java Runtime Environment]\r\nMain Class=bench.Main\r\nJRE Path=%s\r\n' "$jre" >"$work/app/bench.ini"
    printf 'Virtual Machine Parameters=-Xmx50P -Dx="a b"\r\n[Class Path]\r\nClass Path=\\lib\\*.jar\r\n' \
        >>"$work/app/bench.ini"

    export KORU_STANDIN_SCRIPT="main=return"
    export KORU_STANDIN_RECORD="Z:${work//\//\\}\\record.txt"
    # The bare host is handed what the launcher handed the runtime.
    "$KORU_WINE" "$work/app/bench.exe" -nosplash >/dev/null 2>&1 || true
    export KORU_BENCH_JVM="$jre\\bin\\server\\jvm.dll" KORU_BENCH_MAIN="bench/Main" KORU_BENCH_ARGUMENTS="-nosplash"
    KORU_BENCH_OPTIONS="$(sed -n 's/\r$//; s/^option=//p' "$work/record.txt" | grep -vx 'abort\|exit')"
    export KORU_BENCH_OPTIONS
    export KORU_BENCH_STAMP="Z:${work//\//\\}\\stamp.txt"

    local server="" p
    for p in $(pgrep -x wineserver64 || true) $(pgrep -x wineserver || true); do
        if grep -qxz "WINEPREFIX=$WINEPREFIX" "/proc/$p/environ" 2>/dev/null; then
            server="$p"
            break
        fi
    done
    if [ -z "$server" ]; then
        echo "startup_cpu: the session's wineserver was not found" >&2
        return 1
    fi

    local names=(empty-gui empty-gui+queue bare-jni-host launcher)
    local commands=("$bin/empty_gui.exe" "$bin/empty_gui.exe --queue" "$bin/bare_jni_host.exe"
        "$work/app/bench.exe -nosplash")
    local i r
    for ((r = 0; r <= runs; r++)); do
        for i in "${!names[@]}"; do
            rm -f "$work/record.txt" "$work/stamp.txt"
            local before after start end usage
            before=$(cut -d' ' -f1 "/proc/$server/schedstat")
            start=$(date +%s%N)
            usage=$( { TIMEFORMAT='%3U %3S'; time "$KORU_WINE" ${commands[$i]} >/dev/null 2>&1 || true; } 2>&1 )
            end=$(date +%s%N)
            after=$(cut -d' ' -f1 "/proc/$server/schedstat")
            # The first round only warms the caches.
            [ "$r" -eq 0 ] && continue
            echo "${names[$i]} $usage $(( (after - before) / 1000 )) $(( (end - start) / 1000 ))" >>"$work/times"
        done
    done
    awk -v runs="$runs" '
        function sort(a, n,   i, j, t) { for (i = 2; i <= n; i++) for (j = i; j > 1 && a[j-1] > a[j]; j--) { t = a[j]; a[j] = a[j-1]; a[j-1] = t } }
        function q(a, n, f) { return a[int(f * (n - 1) + 1.5)] }
        { n[$1]++; cpu[$1, n[$1]] = ($2 + $3) * 1000 + $4 / 1000; wall[$1, n[$1]] = $5 / 1000 }
        END {
            printf "runs per program: %d; CPU = its processes + the wineserver; wall clock beside; in ms:\n", runs
            printf "median (quartiles) and the tenth percentile, which the neighbours disturb least\n"
            split("empty-gui empty-gui+queue bare-jni-host launcher", order, " ")
            for (k = 1; k <= 4; k++) {
                p = order[k]; m = n[p]
                for (i = 1; i <= m; i++) { c[i] = cpu[p, i]; w[i] = wall[p, i] }
                sort(c, m); sort(w, m)
                printf "%-16s CPU %6.2f (%6.2f-%6.2f) p10 %6.2f   wall %6.2f (%6.2f-%6.2f) p10 %6.2f\n", p, q(c, m, 0.5), q(c, m, 0.25), q(c, m, 0.75), q(c, m, 0.1), q(w, m, 0.5), q(w, m, 0.25), q(w, m, 0.75), q(w, m, 0.1)
            }
            # The ratio within each round, where both programs met the same neighbours.
            for (i = 1; i <= n["launcher"]; i++) { r[i] = cpu["launcher", i] / cpu["bare-jni-host", i]; e[i] = cpu["launcher", i] / cpu["empty-gui+queue", i] }
            sort(r, n["launcher"]); sort(e, n["launcher"])
            printf "CPU ratio launcher / bare JNI host, median of the rounds: %.3f (quartiles %.3f-%.3f)\n", q(r, n["launcher"], 0.5), q(r, n["launcher"], 0.25), q(r, n["launcher"], 0.75)
            printf "CPU ratio launcher / empty GUI program with its queue:   %.3f (quartiles %.3f-%.3f)\n", q(e, n["launcher"], 0.5), q(e, n["launcher"], 0.25), q(e, n["launcher"], 0.75)
        }' "$work/times"
    rm -rf "$work"
}
