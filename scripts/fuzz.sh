#!/usr/bin/env bash
# Fuzzes the readers of the program's own text files natively with libFuzzer (clang): the design
# reader with the property bag's value codec, seeded with the program's designs, and the journal
# reader, seeded with a sample journal. Usage: scripts/fuzz.sh [seconds, default 60] [design|journal|all]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
which=${2:-all}
"$root/scripts/setup.sh" clang libclang-rt-14-dev >&2
out="$root/build/fuzz"
flags=(-std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
       -I"$root/tests/fuzz/shim" -I"$root")
mkdir -p "$out/crashes"

if [[ $which == design || $which == all ]]; then
    clang++ "${flags[@]}" "$root/tests/fuzz/DesignFuzz.cpp" "$root/forms/DesignText.cpp" \
        "$root/forms/PropertyBag.cpp" "$root/win32/Picture.cpp" -o "$out/design-fuzz"
    mkdir -p "$out/corpus"
    cp "$root"/app/designs/*.design "$root"/tests/forms/*.design "$out/corpus/" 2>/dev/null || true
    (cd "$out" && ./design-fuzz -max_total_time="$seconds" -dict="$root/tests/fuzz/design.dict" \
        -artifact_prefix="$out/crashes/" -print_final_stats=1 corpus)
fi
if [[ $which == journal || $which == all ]]; then
    clang++ "${flags[@]}" "$root/tests/fuzz/JournalFuzz.cpp" "$root/app/JournalText.cpp" \
        "$root/app/PlannedFiles.cpp" -o "$out/journal-fuzz"
    mkdir -p "$out/journal-corpus"
    cp "$root"/tests/fuzz/*.journal "$out/journal-corpus/"
    (cd "$out" && ./journal-fuzz -max_total_time="$seconds" -dict="$root/tests/fuzz/journal.dict" \
        -artifact_prefix="$out/crashes/journal-" -print_final_stats=1 journal-corpus)
fi
