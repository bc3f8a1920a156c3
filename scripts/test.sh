#!/usr/bin/env bash
# Sets up (packages, build) and runs every test, then builds the second configuration and runs
# its start-up tests.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
ctest --test-dir build --output-on-failure -j2

# The second configuration (alias MIRUVIRUDI3): built, and its start-up tested.
cmake -S . -B build-second -G Ninja -DSALARY_SECOND_CONFIGURATION=ON -DSALARY_BUILD_BENCH=OFF \
  >/dev/null
cmake --build build-second --target salary app_tests
ctest --test-dir build-second --output-on-failure -R '^StartUp\.'
