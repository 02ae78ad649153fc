#!/usr/bin/env bash
# Everything a fresh Debian machine needs: installs what is missing, then
# configures and builds with all cores. Safe to run again; quick when all is there.
#   tools/setup.sh              the normal build in build/
#   tools/setup.sh --sanitize   the Debug AddressSanitizer/UBSan build in build-asan/
# Build targets after these build only those (and what they need), not everything:
#   tools/setup.sh vlx_scenes vlxdriver
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

packages=(g++-multilib cmake make googletest libstb-dev qemu-user mesa-common-dev valgrind)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
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

# Some virtual machines' kernels run no 32-bit x86 program. There every
# program we build runs under qemu-i386 through binfmt_misc, as a processor
# with MMX and SSE2 but no 3DNow!, like the ones the tests expect natively.
run_i386_programs() {
  local probe
  probe=$(mktemp -d)
  echo 'int main(void) { return 0; }' > "$probe/probe.c"
  gcc -m32 "$probe/probe.c" -o "$probe/probe"
  # Our own entry is written afresh each time, so a changed wrapper takes effect.
  if [ ! -e /proc/sys/fs/binfmt_misc/vlx-i386 ] && "$probe/probe" 2>/dev/null; then
    rm -rf "$probe"; return
  fi
  rm -rf "$probe"
  local misc=/proc/sys/fs/binfmt_misc
  [ -e "$misc/register" ] || $sudo mount -t binfmt_misc binfmt_misc "$misc"
  echo "setup: this kernel runs no 32-bit program; they run under qemu-i386 here"
  $sudo mkdir -p /usr/local/libexec
  $sudo tee /usr/local/libexec/vlx-qemu-i386 >/dev/null <<'WRAPPER'
#!/bin/sh
exec /usr/bin/qemu-i386 -cpu Nehalem,-syscall,-lm "$@"
WRAPPER
  $sudo chmod 755 /usr/local/libexec/vlx-qemu-i386
  [ ! -e "$misc/vlx-i386" ] || echo -1 | $sudo tee "$misc/vlx-i386" >/dev/null
  # ELF, 32-bit, little-endian, executable or shared object, i386.
  printf '%s' ':vlx-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/local/libexec/vlx-qemu-i386:' |
    $sudo tee "$misc/register" >/dev/null
}
run_i386_programs

if [ "${1:-}" = "--sanitize" ]; then
  shift
  build="$root/build-asan"
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DVLX_SANITIZE=ON >/dev/null
else
  build="$root/build"
  cmake -S "$root" -B "$build" >/dev/null
fi
if (($#)); then
  cmake --build "$build" -j"$(nproc)" --target "$@"
else
  cmake --build "$build" -j"$(nproc)"
fi
