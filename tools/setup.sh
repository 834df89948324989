#!/usr/bin/env bash
# Set-up for a Debian 12 machine: installs the packages that are missing,
# builds, and then either starts the program or runs every test.
#
#   bash tools/setup.sh run    # install, build, create user 1's diary if none,
#                              # a sample diary as user 2 if slot 2 is free, start Ternvall
#   bash tools/setup.sh test   # install, build, run all tests (non-zero exit on any failure)
#
# Packages are installed with apt-get, through sudo when not run as root.
set -euo pipefail

mode=${1:-}
case "$mode" in
    run|test) ;;
    *) echo "usage: bash tools/setup.sh run|test" >&2; exit 2 ;;
esac

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$top/build"

packages=(
    g++ cmake ninja-build
    qt6-base-dev qt6-charts-dev libqt6opengl6-dev libgl-dev qt6-translations-l10n
    libqt6sql6-ibase libfbclient2 firebird3.0-server-core firebird3.0-utils firebird-dev
    poppler-utils
    python3
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -q
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j "$(nproc)"

if [ "$mode" = test ]; then
    exec ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
fi

"$build/bin/ternvall-install" --slot 1 --if-missing

# A sample diary in slot 2, named "Exempel", for a newcomer to look at
# through "Byt användare...": made only while slot 2 has no diary, so it is
# made once and never touches a diary of someone's own. A sample that could
# not be filled is removed again, to be made on the next run.
sample=$("$build/bin/ternvall-install" --slot 2 --print-path) || sample=
if [ -n "$sample" ] && [ ! -e "$sample" ]; then
    if "$build/bin/ternvall-install" --slot 2 --name Exempel; then
        trap 'rm -f "$sample"; exit 130' INT TERM
        if ! "$build/bin/ternvall-sample" --slot 2 --entries 2000 --years 10; then
            echo "The sample diary could not be filled and was removed; the next run tries again." >&2
            rm -f "$sample"
        fi
        trap - INT TERM
    fi
fi

exec "$build/bin/ternvall"
