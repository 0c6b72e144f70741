#!/bin/sh
# The feed update beside Debian's python3-feedparser on the same 200 feeds of
# 100 items from the same loopback server (a threaded Python HTTP server on the
# host serving the feed files the benchmark writes). Ours: bench_feeds under
# Wine (download, parse and cache every feed, then the other figures); the peer
# as a process of the host: every feed fetched and parsed, and parsed only from
# memory. Prints both and their ratio (aim: ours no slower than the peer).
# Usage: sh bench/feeds_vs_feedparser.sh [build folder]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tools/width.sh"
build="${1:-$(width_build "$root")}"
cmake --build "$build" --target bench_feeds >/dev/null
work=$(mktemp -d /tmp/mirovale_feeds.XXXXXX)
server_pid=""
cleanup() {
    if [ -n "$server_pid" ]; then kill "$server_pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT INT TERM
mkdir -p "$work/feeds"
# Debian's interpreter, where its python3-feedparser lives.
py=/usr/bin/python3
[ -x "$py" ] || py=python3
"$build/wine-run.sh" "$build/bench/bench_feeds.exe" --write "Z:$(echo "$work/feeds" | tr / '\\')"
port=$("$py" -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
"$py" -c "
import functools, http.server, sys
class Quiet(http.server.SimpleHTTPRequestHandler):
    protocol_version = 'HTTP/1.1'
    def log_message(self, *args):
        pass
http.server.ThreadingHTTPServer(('127.0.0.1', int(sys.argv[1])), functools.partial(Quiet, directory=sys.argv[2])).serve_forever()
" "$port" "$work/feeds" &
server_pid=$!
sleep 1
base="http://127.0.0.1:$port"
out=$("$build/wine-run.sh" "$build/bench/bench_feeds.exe" --base "$base" | tr -d '\r')
echo "$out" | grep -v '^RESULT'
ours=$(echo "$out" | sed -n 's/^RESULT ours_update_s=\([0-9.]*\).*/\1/p')
if [ -z "$ours" ]; then
    echo "no result from the benchmark program" >&2
    exit 1
fi
if ! "$py" -c 'import feedparser' 2>/dev/null; then
    echo "python3-feedparser: not installed on the host; no comparison"
    exit 0
fi
"$py" - "$base" "$work/feeds" "$ours" <<'PY'
import sys, time, urllib.request, feedparser
base, folder, ours = sys.argv[1], sys.argv[2], float(sys.argv[3])
t = time.perf_counter()
items = 0
for f in range(200):
    items += len(feedparser.parse(urllib.request.urlopen(f"{base}/{f}").read()).entries)
whole = time.perf_counter() - t
texts = [open(f"{folder}/{f}", "rb").read() for f in range(200)]
t = time.perf_counter()
for text in texts:
    feedparser.parse(text)
parse = time.perf_counter() - t
print(f"200 feeds x 100 items: ours {ours:.2f} s (download, parse, cache; in the program under Wine)")
print(f"  python3-feedparser {whole:.2f} s fetch and parse, {parse:.2f} s parse only ({items} entries; host process)")
print(f"  ours/feedparser = {ours / whole:.2f} (aim: at most 1.0)")
PY
