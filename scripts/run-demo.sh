#!/usr/bin/env bash
# Builds the desktop program and starts it on a fresh scratch copy of the demo
# data folder, so the repository's examples stay untouched.
# Extra arguments are passed to the program.
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
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2 --target orva

data=$(mktemp -d "${TMPDIR:-/tmp}/orva-demo.XXXXXX")
cp -R examples/demo/. "$data/"
echo "run-demo: data folder $data"
cd "$data"
exec "$root/build/src/app/orva" "$@"
