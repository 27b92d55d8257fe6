#!/usr/bin/env bash
# Runs every benchmark program of a build's bin folder one after another (they measure
# time, so never two at once), then lists each figure against its mark and each program
# that failed. Exits 1 when any benchmark failed or a figure is over its mark, and when
# there was none to run (a build without them measures nothing).
set -uo pipefail
bin=${1:?usage: run-benchmarks.sh <bin folder>}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
failed=()
ran=0
for program in "$bin"/bench_*; do
    [[ -x "$program" ]] || continue
    ran=$((ran + 1))
    name=$(basename "$program")
    echo "== $name"
    "$program" 2>&1 | tee "$out/$name.txt"
    [[ ${PIPESTATUS[0]} -eq 0 ]] || failed+=("$name")
done
if [[ $ran -eq 0 ]]; then
    echo "== No benchmark in $bin (a build with VARNAK_BUILD_TESTS or VARNAK_BUILD_BENCH off has none)"
    exit 1
fi
echo
echo "== Figures against their marks"
for result in "$out"/*.txt; do
    name=$(basename "$result" .txt)
    grep -E "^(mark|figure|FAILED) " "$result" | sed "s/^/$name: /"
done
if [[ ${#failed[@]} -gt 0 ]]; then
    echo "== Failed: ${failed[*]}"
    exit 1
fi
echo "== Every benchmark within its marks"
