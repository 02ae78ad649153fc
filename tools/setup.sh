#!/usr/bin/env bash
# Everything a fresh Debian machine needs: installs what is missing, then
# configures and builds with all cores. Safe to run again; quick when all is there.
#   tools/setup.sh              the normal build in build/
#   tools/setup.sh --sanitize   the Debug AddressSanitizer/UBSan build in build-asan/
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

packages=(g++-multilib cmake make googletest libstb-dev qemu-user mesa-common-dev valgrind)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  echo "setup: installing ${missing[*]}"
  # A mirror caught mid-sync fails the update now and then; the install may
  # still succeed from the lists already there, so try again and go on.
  for attempt in 1 2 3; do
    $sudo apt-get update -q && break
    echo "setup: apt-get update failed (attempt $attempt)"
    [ "$attempt" = 3 ] || sleep 5
  done
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

if [ "${1:-}" = "--sanitize" ]; then
  build="$root/build-asan"
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DVLX_SANITIZE=ON >/dev/null
else
  build="$root/build"
  cmake -S "$root" -B "$build" >/dev/null
fi
cmake --build "$build" -j"$(nproc)"
