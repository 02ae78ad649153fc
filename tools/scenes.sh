#!/usr/bin/env bash
# Builds what the scene tool needs (the tool, the loader, both driver
# libraries and the platform, not the tests) and renders the sample scenes
# into scenes/; further arguments go to the tool (--size WIDTHxHEIGHT).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh" vlx_scenes vlxgl vlxdriver vlxdriver_soft vlxplatform
exec "$root/build/tools/vlx_scenes" "$root/scenes" "$@"
