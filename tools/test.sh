#!/usr/bin/env bash
# Builds and runs every test: the normal build (unit, slow and qemu labels),
# then the sanitizer build for the tests labelled "sanitizer".
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)

"$root/tools/setup.sh"
ctest --test-dir "$root/build" -j"$jobs" --output-on-failure

"$root/tools/setup.sh" --sanitize
ctest --test-dir "$root/build-asan" -L sanitizer -j"$jobs" --output-on-failure
