#!/bin/sh
# Installs every Debian package the project needs to build, run and test,
# skipping those already present. Safe to run again; works as root or
# through sudo.
set -eu

packages="
build-essential
cmake
ninja-build
pkg-config
git
curl
python3
libgtest-dev
libgmock-dev
libbenchmark-dev
libcurl4-openssl-dev
libcpp-httplib-dev
openssl
libsqlite3-dev
libsodium-dev
qt6-base-dev
qt6-base-dev-tools
qt6-webengine-dev
qt6-multimedia-dev
imagemagick
libgl-dev
xvfb
xauth
fonts-noto-cjk
fonts-arphic-ukai
"

missing=""
for p in $packages; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

if [ -z "$missing" ]; then
    exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
    as_root=""
elif command -v sudo >/dev/null 2>&1; then
    as_root="sudo"
else
    echo "install-deps: missing packages:$missing; run as root or install sudo" >&2
    exit 1
fi

echo "install-deps: installing$missing"
$as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q
# shellcheck disable=SC2086
$as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
