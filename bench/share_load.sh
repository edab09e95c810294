#!/usr/bin/env bash
# Load on vaskelio-share, beside a floor measured in the same run: wrk with 50 connections for
# the submissions, then for the page of 1,000 approved lists, then for the same page bytes served
# as a static file by nginx on another loopback port. Everything stays on 127.0.0.1.
#
#   bench/share_load.sh [BUILD_DIR] [--db STORE] [--seconds N] [--connections N]
#
# BUILD_DIR defaults to build; STORE to an SQLite file in a temporary folder (a PostgreSQL URI
# measures that back end instead; its lists are added to whatever the database holds). Needs wrk
# and nginx (Debian packages wrk and nginx; nginx need not run as a system service).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

build=build
store=
seconds=10
connections=50
while [ $# -gt 0 ]; do
    case "$1" in
    --db) store=$2; shift 2 ;;
    --seconds) seconds=$2; shift 2 ;;
    --connections) connections=$2; shift 2 ;;
    *) build=$1; shift ;;
    esac
done
share=$build/server/vaskelio-share
for tool in wrk nginx curl; do
    command -v "$tool" >/dev/null || { echo "share_load: $tool is missing" >&2; exit 1; }
done
[ -x "$share" ] || { echo "share_load: no $share; build it first" >&2; exit 1; }

work=$(mktemp -d)
service=
floor=
cleanup() {
    [ -n "$service" ] && kill "$service" 2>/dev/null && wait "$service" 2>/dev/null || true
    [ -n "$floor" ] && [ -f "$work/nginx.pid" ] && kill "$(cat "$work/nginx.pid")" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
store=${store:-$work/shared.db}
threads=$(nproc)

# wrk's figures: requests per second, then the 50th and 99th latency percentiles in ms, the
# replies that were not 2xx, and the socket errors (a connection closed after its 100th request
# counts as a read error).
figures() {
    awk '
        function ms(v) {
            if (v ~ /us$/) return substr(v, 1, length(v) - 2) / 1000
            if (v ~ /ms$/) return substr(v, 1, length(v) - 2) + 0
            if (v ~ /s$/) return substr(v, 1, length(v) - 1) * 1000
            return v
        }
        /Requests\/sec:/ { rps = $2 }
        $1 == "50%" { p50 = ms($2) }
        $1 == "99%" { p99 = ms($2) }
        /Non-2xx or 3xx responses:/ { bad = $5 }
        /Socket errors:/ { gsub(",", ""); errors = $4 + $6 + $8 + $10 }
        END { printf "%.0f %.2f %.2f %d %d\n", rps, p50, p99, bad, errors }' "$1"
}

# Each request a list of its own, of ordinary lengths, so that none is a repeat.
cat >"$work/submit.lua" <<'EOF'
local counter = 0
function setup(thread)
    thread:set("me", counter)
    counter = counter + 1
end
local n = 0
local words = "&w1=apple&w2=banana&w3=cherry&w4=grape&w5=lemon&w6=mango&w7=melon&w8=peach&w9=plum"
function request()
    n = n + 1
    local title = string.format("Fruit%%20%d-%d-%d", os.time(), me or 0, n)
    return wrk.format("GET", "/pellimo/checkadd.php?appid=1&w0=" .. title .. words ..
                      "&n1=Bench%20Player")
end
EOF

# All the load comes from one address here, unlike on the internet: no limits per address.
"$share" serve --db "$store" --port 0 --publish-all --rate-limit 0 --max-per-address 100000 \
    >"$work/out" 2>"$work/log" &
service=$!
for _ in $(seq 50); do grep -q listening "$work/out" 2>/dev/null && break; sleep 0.1; done
base=$(sed -n 's/.*listening on \(http:[^ ]*\).*/\1/p' "$work/out")
[ -n "$base" ] || { echo "share_load: the service did not start" >&2; cat "$work/log" >&2; exit 1; }

echo "vaskelio-share load, $connections connections, $seconds s each, $threads processors, store: $(
    case "$store" in postgres*) echo PostgreSQL ;; *) echo SQLite ;; esac)"

# Submissions, each published at once, so that they also fill the page.
wrk -t"$threads" -c"$connections" -d"${seconds}s" --latency -s "$work/submit.lua" "$base" \
    >"$work/submit.txt"
read -r rps p50 p99 bad errors < <(figures "$work/submit.txt")
printf '%-34s %8s req/s   p50 %7s ms   p99 %7s ms   not 2xx %s   socket errors %s\n' \
    "submissions (stored, published)" "$rps" "$p50" "$p99" "$bad" "$errors"

page=/pellimo/wordlist.php?appid=1
curl -s "$base$page" >"$work/page.txt"
lists=$(( ($(wc -l <"$work/page.txt") - 1) / 11 ))
[ "$lists" -ge 1000 ] || echo "share_load: the page holds only $lists lists" >&2

wrk -t"$threads" -c"$connections" -d"${seconds}s" --latency "$base$page" >"$work/page.wrk"
read -r page_rps page_p50 page_p99 page_bad page_errors < <(figures "$work/page.wrk")
printf '%-34s %8s req/s   p50 %7s ms   p99 %7s ms   not 2xx %s   socket errors %s\n' \
    "page ($lists lists, $(wc -c <"$work/page.txt") bytes)" "$page_rps" "$page_p50" \
    "$page_p99" "$page_bad" "$page_errors"

# The floor: the same bytes as a static file from nginx, as many workers as processors, the
# same 100 requests per connection as the service.
mkdir -p "$work/www/pellimo"
cp "$work/page.txt" "$work/www/pellimo/wordlist.php"
# Under root nginx's workers run as another user.
chmod a+x "$work"
chmod -R a+rX "$work/www"
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])' 2>/dev/null || echo 18480)
cat >"$work/nginx.conf" <<EOF
worker_processes $threads;
pid $work/nginx.pid;
error_log $work/nginx-error.log;
daemon on;
events { worker_connections 1024; }
http {
    access_log off;
    sendfile on;
    tcp_nopush on;
    tcp_nodelay on;
    open_file_cache max=16;
    keepalive_requests 100;
    types { }
    default_type "text/plain; charset=utf-8";
    server {
        listen 127.0.0.1:$port;
        root $work/www;
    }
}
EOF
nginx -c "$work/nginx.conf"
floor=1
curl -s "http://127.0.0.1:$port$page" | cmp -s - "$work/page.txt" ||
    echo "share_load: nginx does not serve the same bytes" >&2
wrk -t"$threads" -c"$connections" -d"${seconds}s" --latency "http://127.0.0.1:$port$page" \
    >"$work/floor.wrk"
read -r floor_rps floor_p50 floor_p99 floor_bad floor_errors < <(figures "$work/floor.wrk")
printf '%-34s %8s req/s   p50 %7s ms   p99 %7s ms   not 2xx %s   socket errors %s\n' \
    "floor: the same page from nginx" "$floor_rps" "$floor_p50" "$floor_p99" "$floor_bad" \
    "$floor_errors"
awk -v a="$page_rps" -v b="$floor_rps" 'BEGIN { printf "page / floor: %.2f\n", a / b }'
