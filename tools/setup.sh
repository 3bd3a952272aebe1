#!/usr/bin/env bash
# Installs what this project needs from Debian's archive and, at the versions
# the lock files pin, from the npm registry. Safe to run again: it only
# installs what is missing.
#
#   tools/setup.sh              everything tools/test.sh needs: the Linux
#                               builds, the sanitizers, fuzzing, the Windows
#                               cross builds and Wine, the browser tests
#   tools/setup.sh --main-job   only what tools/run.sh needs to build the module
#                               and avrion-scenario and fly the default flight
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

main_job=""
case "${1:-}" in
    "") ;;
    --main-job) main_job=1 ;;
    *)
        echo "usage: tools/setup.sh [--main-job]" >&2
        exit 2
        ;;
esac

# The module, avrion-scenario with its pictures, reference comparisons and
# report, and what configuring the tree asks for.
main_packages=(
    build-essential cmake ninja-build pkg-config
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    libopenal-dev libsndfile1-dev
    libcairo2-dev libpango1.0-dev libfreeimage-dev fonts-dejavu-core fonts-liberation libyaml-cpp-dev libinih-dev
    nlohmann-json3-dev libcpp-httplib-dev libcli11-dev libmagick++-dev libpugixml-dev
)
# The rest of the suite: sanitizers and fuzzing (clang), the browser tests,
# the test scripts' tools, coverage, the DejaVu faces the artwork generator
# draws the bitmaps with (their check redraws them), and the Windows builds: x86-64 under
# 64-bit Wine everywhere, i686 under 32-bit Wine where the kernel runs 32-bit
# programs. The test programs use mingw-w64's posix thread model, the .gau its
# win32 model.
suite_packages=(
    sox clang libclang-rt-14-dev chromium gcovr fonts-dejavu-extra
    python3-jsonschema python3-junitparser python3-yaml python3-pefile zip
    g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix g++-mingw-w64-i686-win32 gcc-mingw-w64-i686-win32
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-win32 gcc-mingw-w64-x86-64-win32
    mingw-w64-i686-dev mingw-w64-x86-64-dev
    wine wine64
)

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
lists_updated=""

install_missing() {
    local missing=() p
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$p")
        fi
    done
    [ "${#missing[@]}" -gt 0 ] || return 0
    echo "setup: installing ${missing[*]}"
    if [ -z "$lists_updated" ]; then
        $sudo apt-get update -qq
        lists_updated=1
    fi
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

install_missing "${main_packages[@]}"
if [ -z "$main_job" ]; then
    install_missing "${suite_packages[@]}"
    # 32-bit Wine only where it can start: a kernel booted without 32-bit
    # programs has no use for the i386 architecture.
    if "$root/tools/runs-32-bit.sh"; then
        if ! dpkg --print-foreign-architectures | grep -qx i386; then
            $sudo dpkg --add-architecture i386
            lists_updated=""
        fi
        install_missing wine32:i386
    else
        echo "setup: this machine's kernel runs no 32-bit programs: no 32-bit Wine; the i686 build is checked statically"
    fi
fi

# Node and npm come from Debian when the machine has none.
if ! command -v npm >/dev/null || ! command -v node >/dev/null; then
    echo "setup: installing nodejs npm"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends nodejs npm >/dev/null
fi
# uPlot, the charting library copied beside every scenario report; for the
# suite also the browser tests' driver, playwright-core, which drives Debian's
# chromium, never a browser of its own.
node_folders=("$root/host/scenario/report")
[ -n "$main_job" ] || node_folders+=("$root/tests/browser")
for node_packages in "${node_folders[@]}"; do
    # A copy of the lock file beside the packages tells whether they are the ones it names.
    stamp="$node_packages/node_modules/.installed-from-lock"
    if ! cmp -s "$node_packages/package-lock.json" "$stamp" 2>/dev/null; then
        echo "setup: installing the node packages of ${node_packages#"$root"/}"
        (cd "$node_packages" && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
        cp "$node_packages/package-lock.json" "$stamp"
    fi
done
if [ -n "$main_job" ]; then
    echo "setup: the main job's packages present"
else
    echo "setup: all build and test packages present"
fi
