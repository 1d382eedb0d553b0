#!/usr/bin/env bash
# Configures and builds into build/ (extra arguments go to cmake).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" > "$root/build.log" 2>&1 || { cat "$root/build.log"; exit 1; }
cmake --build "$root/build" -j"$(nproc)"
