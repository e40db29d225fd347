#!/usr/bin/env bash
# Installs, builds and starts the full edition on its bundled question bank.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/tools/build.sh"
program="$root/build/bin/${1:-brel}"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting $(basename "$program") on a virtual X display (Xvfb)." >&2
  exec xvfb-run -a "$program"
fi
exec "$program"
