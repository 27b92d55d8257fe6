#!/usr/bin/env bash
# Runs every benchmark program of a build's bin folder one after another (they measure
# time, so never two at once), then lists each figure against its mark and each program
# that failed. Exits 1 when any benchmark failed or a figure is over its mark.
set -uo pipefail
bin=${1:?usage: run-benchmarks.sh <bin folder>}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
failed=()
for program in "$bin"/bench_*; do
    [[ -x "$program" ]] || continue
    name=$(basename "$program")
    echo "== $name"
    "$program" 2>&1 | tee "$out/$name.txt"
    [[ ${PIPESTATUS[0]} -eq 0 ]] || failed+=("$name")
done
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
