#!/bin/sh
# Installs what is missing, builds the tree, starts the local game service
# and the game (under Xvfb when there is no display).
set -eu
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -G Ninja
cmake --build build --parallel "$(nproc)"

if [ ! -x build/app/rowstone ]; then
    echo "run: the desktop program is not part of the tree yet; only the engine," >&2
    echo "run: its tools and tests are built so far (see README, 'Layout')." >&2
    exit 1
fi
exec build/app/rowstone
