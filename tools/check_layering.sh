#!/usr/bin/env bash
# Fails when a folder below the window-system layer includes a header of the
# window-system layer (wgl/), the SiS device (sis/) or the loader (loader/).
# The core declares what those layers define; the includes run one way.
#   tools/check_layering.sh [ROOT]   (default: the tree this script is in)
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
below=(core geometry raster pixels dlist codegen fastraster)
above='wgl|sis|loader'

cd "$root"
folders=()
for f in "${below[@]}"; do [ -d "$f" ] && folders+=("$f"); done
((${#folders[@]})) || { echo "layering: none of ${below[*]} in $root"; exit 2; }
status=0
found=$(grep -rnE "^[[:space:]]*#[[:space:]]*include[[:space:]]*[<\"](\.\./)*($above)/" \
          --include='*.h' --include='*.cpp' --include='*.c' --include='*.inc' --include='*.S' \
          "${folders[@]}") || status=$?
((status < 2)) || exit "$status"
if [ -n "$found" ]; then
  echo "These include a wgl/, sis/ or loader/ header from below those layers:"
  echo "$found"
  exit 1
fi
echo "layering: ${below[*]} include nothing from wgl/, sis/ or loader/"
