#!/usr/bin/env bash
# The long fault run: SIGKILL at random moments of every kind of save, then
# check that each file is one whole version. The short run is part of ctest.
#
#   tests/faults/run-long.sh [KILLS_PER_KIND] [BUILD_DIR]
#
# 91 per kind over the eleven kinds is 1,001 kills. A kind added to
# tests/faults/SaveKinds.cpp is covered without changing this script.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
per_kind=${1:-91}
build=${2:-build}
cmake --build "$build" --target tst_faults save_driver >/dev/null
kinds=$("$build"/tests/save_driver kinds | wc -l)
echo "fault run: $per_kind kills for each of $kinds kinds of save ($((per_kind * kinds)) kills)"
start=$(date +%s)
# A forked child saves and is killed, so no program start is paid per kill.
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
for kind in $("$build"/tests/save_driver kinds); do
  mkdir -p "$dir/$kind"
  "$build"/tests/save_driver prepare "$kind" "$dir/$kind"
  echo -n "$kind: "
  "$build"/tests/save_driver kills "$kind" "$dir/$kind" "$per_kind"
done
echo "fault run: $((per_kind * kinds)) kills, no damaged file, $(($(date +%s) - start)) s"
