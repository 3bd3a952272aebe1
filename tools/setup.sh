#!/usr/bin/env bash
# Installs every Debian package that the Linux build, the Windows (i686) cross
# build, the tests and the Wine runs need. Safe to run again: it only installs
# what is missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    libopenal-dev libsndfile1-dev sox clang libclang-rt-14-dev
    libcairo2-dev libpango1.0-dev libfreeimage-dev fonts-dejavu-core fonts-liberation libyaml-cpp-dev libinih-dev
    nlohmann-json3-dev libcpp-httplib-dev libcli11-dev chromium
    libmagick++-dev libpugixml-dev python3-jsonschema python3-junitparser python3-yaml
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

# From the npm registry, at the versions the lock files pin: the browser
# test's driver, playwright-core, which drives Debian's chromium, never a
# browser of its own; and uPlot, the charting library copied beside every
# scenario report. Node and npm come from Debian when the machine has none.
if ! command -v npm >/dev/null || ! command -v node >/dev/null; then
    echo "setup: installing nodejs npm"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends nodejs npm >/dev/null
fi
root="$(cd "$(dirname "$0")/.." && pwd)"
for node_packages in "$root/tests/browser" "$root/host/scenario/report"; do
    # A copy of the lock file beside the packages tells whether they are the ones it names.
    stamp="$node_packages/node_modules/.installed-from-lock"
    if ! cmp -s "$node_packages/package-lock.json" "$stamp" 2>/dev/null; then
        echo "setup: installing the node packages of ${node_packages#"$root"/}"
        (cd "$node_packages" && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
        cp "$node_packages/package-lock.json" "$stamp"
    fi
done
echo "setup: all build and test packages present"
