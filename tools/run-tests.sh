#!/usr/bin/env bash
# Builds and runs every test: a Release build with warnings as errors, then a Debug build
# under AddressSanitizer and UndefinedBehaviorSanitizer, then the host-thread stress test
# under ThreadSanitizer, and finally the chunk fuzzer for a bounded time, seeded with the
# chunks the test host exchanged, the SysEx fuzzer, seeded with the real dump, the tape
# decoder's fuzzer, seeded with a short tape recording, the bank file fuzzer, seeded with the
# factory banks, the settings-file fuzzer, seeded with a file that sets every key, and the
# Windows DLLs under wine. Where Ardour 7 is installed, it checks the
# plug-in too. What the machine lacks (clang's libFuzzer, Ardour, 32-bit support for the
# 32-bit DLL) is skipped with one line saying so.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
jobs="$(nproc)"
fuzz_seconds="${TARSYN7_FUZZ_SECONDS:-30}"  # per fuzzer

cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Release -DTARSYN7_WERROR=ON
cmake --build build-test -j"$jobs"
ctest --test-dir build-test --output-on-failure -j"$jobs"
# A real host, where one is installed (Ardour is too big to install for every run).
bash tests/host/ardour/check-in-ardour.sh build-test/Tarsyn764.so

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DTARSYN7_WERROR=ON -DTARSYN7_SANITIZE=ON \
  -DTARSYN7_BENCH=OFF
cmake --build build-sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-sanitize --output-on-failure -j"$jobs"

# Tests never touch the real user's folders.
test_home="$PWD/build-test/test-home"
export HOME="$test_home" XDG_DATA_HOME="$test_home/data"

cmake -S . -B build-thread -DCMAKE_BUILD_TYPE=Debug -DTARSYN7_WERROR=ON -DTARSYN7_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="-fsanitize=thread -O1" -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread \
  -DCMAKE_MODULE_LINKER_FLAGS=-fsanitize=thread
cmake --build build-thread -j"$jobs" --target host_tests
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
  build-thread/tests/host_tests --gtest_filter='HostThreadsStress.*:PluginLoad.*'

if command -v clang++ >/dev/null && ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a \
  >/dev/null 2>&1; then
  sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=undefined"
  cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=Debug -DTARSYN7_BENCH=OFF -DTARSYN7_FUZZ=ON \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_CXX_FLAGS="$sanitizers -fsanitize=fuzzer-no-link -O1 -g" \
    -DCMAKE_EXE_LINKER_FLAGS="$sanitizers" -DCMAKE_MODULE_LINKER_FLAGS="$sanitizers"
  cmake --build build-fuzz -j"$jobs" --target set_chunk_fuzz sysex_fuzz tape_decode_fuzz \
    bank_file_fuzz ini_file_fuzz
  # Runs one fuzzer over its corpus for the bounded time; a fault prints its log and stops.
  run_fuzzer() {
    local name="$1" corpus="$2" max_len="$3" log="build-fuzz/$1.log"
    if ! "build-fuzz/tests/$name" -max_total_time="$fuzz_seconds" -max_len="$max_len" \
      -artifact_prefix=build-fuzz/ -print_final_stats=1 "$corpus" >"$log" 2>&1; then
      tail -n 80 "$log"
      echo "$name found a fault (input saved in build-fuzz/)" >&2
      exit 1
    fi
    grep -E '^(Done|stat::new_units_added|stat::peak_rss_mb)' "$log"
  }
  corpus=build-fuzz/corpus
  rm -rf "$corpus" && mkdir -p "$corpus"
  build-test/tests/vsthost/vsthost build-test/Tarsyn764.so "$corpus" >/dev/null
  run_fuzzer set_chunk_fuzz "$corpus" 65536
  # The SysEx fuzzer starts from the real dump, sent whole as a live dump (leading 0).
  sysex_corpus=build-fuzz/sysex-corpus
  rm -rf "$sysex_corpus" && mkdir -p "$sysex_corpus"
  real_dump=../shared/fixtures/poly800ii-factory.syx
  if [ -f "$real_dump" ]; then { printf '\0'; cat "$real_dump"; } >"$sysex_corpus/real-dump"; fi
  run_fuzzer sysex_fuzz "$sysex_corpus" 8192
  # The tape decoder starts from a short recording of a tape signal.
  tape_corpus=build-fuzz/tape-corpus
  rm -rf "$tape_corpus" && mkdir -p "$tape_corpus"
  python3 tests/fuzz/TapeSeed.py "$tape_corpus/short-tape"
  run_fuzzer tape_decode_fuzz "$tape_corpus" 8192
  # The bank file fuzzer starts from both factory banks and a program file written from
  # one (a leading 0 reads a bank, 1 a program).
  bank_corpus=build-fuzz/bank-corpus
  rm -rf "$bank_corpus" && mkdir -p "$bank_corpus"
  for bank in build-test/resources/*.fxb; do
    { printf '\0'; cat "$bank"; } >"$bank_corpus/$(basename "$bank")"
  done
  build-test/tarsyn7-convert build-test/resources/PROGDATA.fxb --program 61 \
    -o "$bank_corpus/program.fxp" >/dev/null
  { printf '\1'; cat "$bank_corpus/program.fxp"; } >"$bank_corpus/program" && rm "$bank_corpus/program.fxp"
  run_fuzzer bank_file_fuzz "$bank_corpus" 65536
  # The settings-file reader starts from a file that sets every key.
  ini_corpus=build-fuzz/ini-corpus
  rm -rf "$ini_corpus" && mkdir -p "$ini_corpus"
  build-test/tests/vsthost/settings-dump write "$ini_corpus/tarsyn7.ini" >/dev/null
  run_fuzzer ini_file_fuzz "$ini_corpus" 65536
else
  echo "clang with libFuzzer not found: fuzzers skipped"
fi

# The Windows plug-ins, cross-built and run under wine.
bash tools/test-windows.sh
