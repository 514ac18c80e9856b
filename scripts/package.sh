#!/usr/bin/env bash
# Builds the Debian package with only what building it needs: installs the build
# dependencies, builds what is installed (no tests, benchmarks or fuzz targets) in
# build-package/ and packs it there as ketrilo_VERSION_ARCH.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh build
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKETRILO_TESTS=OFF >/dev/null
cmake --build build-package
(cd build-package && cpack -G DEB)
