#!/usr/bin/env bash
# Builds everything and runs every test; exits with the test run's status.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2

status=0
ctest --test-dir build --output-on-failure || status=$?
exit "$status"
