#!/usr/bin/env bash
# Builds everything in Release into build/: the plug-in Tarsyn764.so, tools, tests,
# benchmarks; then plays the built-in demo through the plug-in into out/demo.wav and
# draws the plug-in's front panel into out/panel.png.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)"
echo "Built: build/Tarsyn764.so"

mkdir -p out
build/tarsyn7-render --stats -o out/demo.wav
echo "Demo: out/demo.wav"
build/tarsyn7-render --screenshot out/panel.png
echo "Panel: out/panel.png"
