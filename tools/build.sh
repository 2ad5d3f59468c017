#!/usr/bin/env bash
# Builds everything in Release into build/: the plug-in Tarsyn764.so, tools, tests,
# benchmarks; then plays the built-in demo through the plug-in with factory sounds:
# out/demo.wav with "Cloud of 64" (64 voices, a filter per voice, both oscillators and the
# stereo chorus), out/demo-warm-pad.wav and out/demo-brass.wav; then draws the plug-in's
# front panel into out/panel.png.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)"
echo "Built: build/Tarsyn764.so"

mkdir -p out
build/tarsyn7-convert --factory own -o out/corvane-factory.fxb
render() {  # program number (from 0) of the Corvane factory bank, output file
  build/tarsyn7-render --bank out/corvane-factory.fxb --program "$1" --stats -o "$2"
}
render 21 out/demo.wav
render 16 out/demo-warm-pad.wav
render 24 out/demo-brass.wav
echo "Demo: out/demo.wav (also out/demo-warm-pad.wav and out/demo-brass.wav)"
build/tarsyn7-render --screenshot out/panel.png
echo "Panel: out/panel.png"
