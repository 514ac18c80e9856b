#!/usr/bin/env bash
# Installs what is missing, builds and runs every test (core, window, end-to-end).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
cd build
ctest --output-on-failure --timeout 600
