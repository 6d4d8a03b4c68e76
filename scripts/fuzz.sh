#!/usr/bin/env bash
# Fuzzes the design reader and the property bag's value codec natively with libFuzzer (clang),
# seeded with the program's designs. Usage: scripts/fuzz.sh [seconds, default 60]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" clang libclang-rt-14-dev >&2
out="$root/build/fuzz"
mkdir -p "$out/corpus" "$out/crashes"
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$root/tests/fuzz/shim" -I"$root" \
    "$root/tests/fuzz/DesignFuzz.cpp" "$root/forms/DesignText.cpp" \
    "$root/forms/PropertyBag.cpp" "$root/win32/Picture.cpp" -o "$out/design-fuzz"
cp "$root"/app/designs/*.design "$root"/tests/forms/*.design "$out/corpus/" 2>/dev/null || true
cd "$out"
exec ./design-fuzz -max_total_time="${1:-60}" -dict="$root/tests/fuzz/design.dict" \
    -artifact_prefix="$out/crashes/" -print_final_stats=1 corpus
