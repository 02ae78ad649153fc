#!/usr/bin/env bash
# Builds what is needed and renders the sample scenes into scenes/; further
# arguments go to the tool (--size WIDTHxHEIGHT).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh"
exec "$root/build/tools/vlx_scenes" "$root/scenes" "$@"
