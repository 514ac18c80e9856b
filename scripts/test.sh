#!/usr/bin/env bash
# Checks that every include keeps to its layer, installs what is missing, builds and runs
# every test (core, window, end-to-end), then the core and window tests again under the
# sanitizers, and a short run of each fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/check-layers.sh
bash scripts/build.sh
(cd build && ctest --output-on-failure --timeout 600)
bash scripts/sanitize.sh
