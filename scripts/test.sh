#!/bin/sh
# Installs what is missing, builds the whole tree and runs every test.
# Set ROWSTONE_SANITIZE=ON to build and test under ASan and UBSan
# (in a separate build folder).
set -eu
cd "$(dirname "$0")/.."

scripts/install-deps.sh

sanitize="${ROWSTONE_SANITIZE:-OFF}"
build="build"
[ "$sanitize" = "ON" ] && build="build-sanitize"

cmake -S . -B "$build" -G Ninja -DROWSTONE_SANITIZE="$sanitize" -DROWSTONE_WERROR=ON
cmake --build "$build" --parallel "$(nproc)"

# Qt WebEngine refuses to start as root unless its sandbox is off.
export QTWEBENGINE_DISABLE_SANDBOX=1
if [ -z "${DISPLAY:-}" ] && command -v xvfb-run >/dev/null 2>&1; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" \
        ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)"
fi
exec ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)"
