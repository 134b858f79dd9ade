#!/usr/bin/env bash
# Builds the libFuzzer targets with AddressSanitizer and UndefinedBehaviorSanitizer and runs each
# for the given number of seconds (default 60).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQEL_FUZZ=ON -DQEL_TESTS=OFF >/dev/null
ninja -C build-fuzz fuzz-targets

# Seeds: small valid dictionaries written by our own builder, so mutations start from real files.
seeds=build-fuzz/corpus/fuzz_dictionary
mkdir -p "$seeds"
printf 'cat\ndog+animal+\nfly-by-night;night owl|one who is out late\nZo\xc3\xab:\xc3\x86sop|fables {\\rtf1 \\b bold}\n' \
  > build-fuzz/seed-source.txt
build-fuzz/qel-cli build --description "seed" build-fuzz/seed-source.txt "$seeds/seed1.qcd" >/dev/null
head -c 20000 /usr/share/dict/british-english-huge 2>/dev/null > build-fuzz/seed-words.txt || true
if [ -s build-fuzz/seed-words.txt ]; then
  build-fuzz/qel-cli build build-fuzz/seed-words.txt "$seeds/seed2.qcd" >/dev/null || true
fi
for target in build-fuzz/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus=build-fuzz/corpus/$name
  mkdir -p "$corpus"
  echo "== $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    "$corpus" 2>&1 | tail -n 12
done
