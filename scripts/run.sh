#!/bin/sh
# Installs what is missing, builds the tree, starts the local game service
# with a demo account and then the game aimed at it (under Xvfb when there
# is no display). The service stops when the game closes.
set -eu
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -G Ninja
cmake --build build --parallel "$(nproc)" --target rowstone rowstone-service rowstone_models

service=build/service/rowstone-service
game=build/app/rowstone
# The game reads no configuration: it talks to the address compiled into it
# (the CMake setting ROWSTONE_SERVICE_URL, http://127.0.0.1:8765 by default).
url=$(sed -n 's/^ROWSTONE_SERVICE_URL:STRING=//p' build/CMakeCache.txt)
hostport=${url#http://}
hostport=${hostport%%/*}
host=${hostport%:*}
port=${hostport##*:}

if command -v bash >/dev/null 2>&1 && bash -c "(exec 3<>/dev/tcp/$host/$port) 2>/dev/null"; then
    echo "run: $host:$port is already in use, but the game is built to talk to a service there." >&2
    echo "run: stop whatever listens on that port, or rebuild with" >&2
    echo "run:   cmake -S . -B build -DROWSTONE_SERVICE_URL=http://127.0.0.1:OTHERPORT" >&2
    exit 1
fi

data=$(mktemp -d "${TMPDIR:-/tmp}/rowstone-run.XXXXXX")
service_pid=""
cleanup() {
    if [ -n "$service_pid" ]; then
        kill "$service_pid" 2>/dev/null || true
        wait "$service_pid" 2>/dev/null || true
    fi
    rm -rf "$data"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

name=demo
password=demo1234
"$service" user add "$name" "$password" --points 200 --data "$data" >/dev/null
"$service" --listen "$host:$port" --data "$data" 2>"$data/service.log" &
service_pid=$!

tries=0
until bash -c "(exec 3<>/dev/tcp/$host/$port) 2>/dev/null"; do
    tries=$((tries + 1))
    if [ "$tries" -gt 100 ] || ! kill -0 "$service_pid" 2>/dev/null; then
        echo "run: the game service did not start; its log:" >&2
        cat "$data/service.log" >&2
        exit 1
    fi
    sleep 0.1
done

echo "run: game service at $url (log: $data/service.log)"
echo "run: demo account  name: $name  password: $password  (200 points)"

# Qt WebEngine refuses to start as root unless its sandbox is off.
export QTWEBENGINE_DISABLE_SANDBOX=1
status=0
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "run: no display; the game runs under Xvfb"
    xvfb-run -a -s "-screen 0 1280x1024x24" "$game" || status=$?
else
    "$game" || status=$?
fi
exit "$status"
