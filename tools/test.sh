#!/usr/bin/env bash
# Installs, builds and runs the whole test suite, headless.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/tools/build.sh"
cd "$root/build"
ctest --output-on-failure --parallel "$(nproc)" --timeout 300
