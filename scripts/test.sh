#!/usr/bin/env bash
# Builds everything and runs every test; exits with the test run's status.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

# Paths in the compiler cache relative to this clone, so a clone in another
# folder (as CI makes) reuses what any other clone compiled.
export CCACHE_BASEDIR="$root"
export CCACHE_NOHASHDIR=true
# The libraries use precompiled headers, which ccache caches only with these.
export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime

bash scripts/install-deps.sh
# CI (which sets CI) builds with warnings as errors.
werror=OFF
if [[ -n "${CI:-}" ]]; then werror=ON; fi
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVA_WERROR="$werror"
cmake --build build -j2

status=0
ctest --test-dir build --output-on-failure || status=$?
exit "$status"
