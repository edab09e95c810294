#!/usr/bin/env bash
# Submissions per second on PostgreSQL, one instance of vaskelio-share and two on the same
# database, with the load from one address (as behind a proxy) and from many, beside the floor of
# the same service on an SQLite file, measured in the same run: rounds of every case in turn, the
# median of each. Each case starts on an empty store; the load is bench_shareload's, C kept-alive
# connections to each instance (and one instance with as many as the two get, to tell the second
# instance from the extra connections). A throwaway PostgreSQL cluster of the installed server
# runs in a temporary folder with its durable defaults (fsync, synchronous commit), reached through
# a Unix socket there. Everything stays on this machine.
#
#   bench/share_scale.sh [BUILD_DIR] [--seconds N] [--connections C] [--rounds N]
#                        [--addresses N] [--publish-all] [--share PROGRAM] [-- SERVE_OPTIONS...]
#
# BUILD_DIR defaults to build; PROGRAM (another build's vaskelio-share) to the one there. --addresses: how many the "many" load comes from (50).
# --publish-all publishes every submission (as bench/share_load.sh does) instead of keeping it
# pending for review. SERVE_OPTIONS go to every instance (e.g. --writers 2).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

build=build
seconds=10
connections=50
rounds=3
addresses=50
publish=
share=
serveopts=()
while [ $# -gt 0 ]; do
    case "$1" in
    --seconds) seconds=$2; shift 2 ;;
    --connections) connections=$2; shift 2 ;;
    --rounds) rounds=$2; shift 2 ;;
    --addresses) addresses=$2; shift 2 ;;
    --publish-all) publish=--publish-all; shift ;;
    --share) share=$2; shift 2 ;;
    --) shift; serveopts=("$@"); break ;;
    *) build=$1; shift ;;
    esac
done
share=${share:-$build/server/vaskelio-share}
load=$build/bench/bench_shareload
for program in "$share" "$load"; do
    [ -x "$program" ] || { echo "share_scale: no $program; build it first" >&2; exit 1; }
done
pgbin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -x "$pgbin/initdb" ] || { echo "share_scale: no PostgreSQL server installed" >&2; exit 1; }

work=$(mktemp -d)
services=()
stopservices() {
    for pid in "${services[@]}"; do
        kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true
    done
    services=()
}
# PostgreSQL refuses to run as root: then the cluster is nobody's.
asowner=()
if [ "$(id -u)" = 0 ]; then
    chown nobody "$work"
    asowner=(runuser -u nobody --)
fi
pg() { "${asowner[@]}" "$pgbin/$1" "${@:2}"; }
cleanup() {
    stopservices
    [ -f "$work/data/postmaster.pid" ] && pg pg_ctl -D "$work/data" -m fast -w stop >/dev/null 2>&1
    rm -rf "$work"
}
trap cleanup EXIT

pg initdb -D "$work/data" -U vaskelio -A trust -E UTF8 --locale=C >/dev/null
pg pg_ctl -D "$work/data" -l "$work/pg.log" -w -o "-c listen_addresses='' -k $work" start \
    >/dev/null
# A new empty store for a case, named NAME: an SQLite file or a PostgreSQL database.
newstore() {
    if [ "$1" = sqlite ]; then
        echo "$work/$2.db"
    else
        pg createdb -h "$work" -U vaskelio "$2"
        echo "postgresql://vaskelio@/$2?host=$work"
    fi
}

# Starts an instance on the store and sets port to its port (empty when it did not start). Not
# in a subshell: stopservices must know it.
startservice() {
    local out=$work/out${#services[@]}
    rm -f "$out"
    "$share" serve --db "$1" --port 0 --rate-limit 0 --max-per-address 100000 $publish \
        "${serveopts[@]}" >"$out" 2>/dev/null &
    services+=($!)
    for _ in $(seq 100); do grep -q listening "$out" 2>/dev/null && break; sleep 0.1; done
    port=$(sed -n 's/.*listening on http:[^ ]*:\([0-9]*\).*/\1/p' "$out")
}

# case: name, store kind, instances, connections in all, source addresses.
cases=(
    "sqlite,1,$connections,1" "postgresql,1,$connections,1" "postgresql,1,$((2 * connections)),1"
    "postgresql,2,$((2 * connections)),1"
    "sqlite,1,$connections,$addresses" "postgresql,1,$connections,$addresses"
    "postgresql,1,$((2 * connections)),$addresses" "postgresql,2,$((2 * connections)),$addresses"
)
for round in $(seq "$rounds"); do
    for c in "${!cases[@]}"; do
        IFS=, read -r kind instances total from <<<"${cases[$c]}"
        store=$(newstore "$kind" "r${round}c$c")
        ports=
        for _ in $(seq "$instances"); do
            startservice "$store"
            [ -n "$port" ] || { echo "share_scale: the service did not start" >&2; exit 1; }
            ports=${ports:+$ports,}$port
        done
        # How busy the processors were meanwhile, whoever kept them so: when they are full, more
        # instances cannot go faster.
        read -r _ user nice system idle iowait irq softirq _ </proc/stat
        busy=$((user + nice + system + irq + softirq))
        all=$((busy + idle + iowait))
        figures=$("$load" "$ports" --connections "$total" --seconds "$seconds" --addresses "$from")
        read -r _ user nice system idle iowait irq softirq _ </proc/stat
        busy=$((user + nice + system + irq + softirq - busy))
        all=$((user + nice + system + irq + softirq + idle + iowait - all))
        echo "$figures $((100 * busy / all))" >>"$work/case$c"
        stopservices
        # Gone before the next case, so that no vacuum of it runs meanwhile.
        [ "$kind" = sqlite ] && rm -f "$work/r${round}c$c.db"* ||
            pg dropdb -h "$work" -U vaskelio "r${round}c$c"
    done
done

# The median round of each case, by submissions per second.
median() { sort -n "$1" | awk '{ rows[NR] = $0 } END { print rows[int((NR + 1) / 2)] }'; }
echo "vaskelio-share submissions ($(
    [ -n "$publish" ] && echo published at once || echo pending), $(nproc) processors," \
    "$seconds s a case, median of $rounds rounds; PostgreSQL $(pg postgres -V | awk '{print $3}')" \
    "(fsync $(pg postgres -D "$work/data" -C fsync), synchronous_commit" \
    "$(pg postgres -D "$work/data" -C synchronous_commit))${serveopts[*]:+, serve ${serveopts[*]}}"
printf '%-11s %9s %11s %10s %14s %8s %8s %8s %7s %6s\n' store instances connections addresses \
    submissions/s "p50 ms" "p99 ms" "not 200" failed "busy %"
declare -A rate
for c in "${!cases[@]}"; do
    IFS=, read -r kind instances total from <<<"${cases[$c]}"
    read -r rps p50 p99 bad failed busy < <(median "$work/case$c")
    rate[$c]=$rps
    printf '%-11s %9s %11s %10s %14s %8s %8s %8s %7s %6s\n' "$kind" "$instances" "$total" "$from" \
        "$rps" "$p50" "$p99" "$bad" "$failed" "$busy"
done
for half in 0 4; do
    awk -v s="${rate[$half]}" -v one="${rate[$((half + 1))]}" -v more="${rate[$((half + 2))]}" \
        -v two="${rate[$((half + 3))]}" -v from="$([ $half = 0 ] && echo one address ||
            echo "$addresses addresses")" 'BEGIN {
        printf "from %s: one PostgreSQL instance / SQLite floor %.2f; two instances / one %.2f" \
               " (/ one with as many connections %.2f)\n", from, one / s, two / one, two / more }'
done
