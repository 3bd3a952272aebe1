#!/usr/bin/env bash
# Installs every Debian package that the Linux build, the Windows (i686) cross
# build, the tests and the Wine runs need. Safe to run again: it only installs
# what is missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    libopenal-dev libsndfile1-dev sox clang libclang-rt-14-dev
    libcairo2-dev libpango1.0-dev libfreeimage-dev fonts-dejavu-core libyaml-cpp-dev libinih-dev nlohmann-json3-dev
    libcpp-httplib-dev libcli11-dev fonts-liberation chromium
    g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix mingw-w64-i686-dev
    wine wine32:i386 zip
)

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi

missing=()
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
    need_update=1
fi
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
if [ "${#missing[@]}" -gt 0 ] || [ -n "${need_update:-}" ]; then
    echo "setup: installing ${missing[*]:-(package lists only)}"
    $sudo apt-get update -qq
    if [ "${#missing[@]}" -gt 0 ]; then
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
    fi
fi

# The browser test's driver, playwright-core, from the npm registry at the
# version the lock file pins; it drives Debian's chromium, never a browser of
# its own. Node and npm come from Debian when the machine has none.
if ! command -v npm >/dev/null || ! command -v node >/dev/null; then
    echo "setup: installing nodejs npm"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends nodejs npm >/dev/null
fi
browser_tests="$(cd "$(dirname "$0")/.." && pwd)/tests/browser"
# A copy of the lock file beside the packages tells whether they are the ones it names.
stamp="$browser_tests/node_modules/.installed-from-lock"
if ! cmp -s "$browser_tests/package-lock.json" "$stamp" 2>/dev/null; then
    echo "setup: installing the browser test's node packages"
    (cd "$browser_tests" && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
    cp "$browser_tests/package-lock.json" "$stamp"
fi
echo "setup: all build and test packages present"
