#!/usr/bin/env bash
# Builds the core and the window with clang under AddressSanitizer and UBSan into
# build-sanitize/, runs the core and window tests there (any report fails them), then runs
# every fuzz target over its seeds for 20,000 executions or 150 seconds, whichever ends first.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/sanitize-env.sh
configure_sanitize_build
cmake --build build-sanitize
# The end-to-end tests drive the release build; here only the tests of the code itself.
(cd build-sanitize && ctest --output-on-failure --timeout 600 -E '^e2e\.')
FUZZ_SECONDS=${FUZZ_SECONDS:-150} bash scripts/fuzz.sh 20000
