#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs the whole test suite, the
# server copies against a throwaway PostgreSQL cluster of its own.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/deps.sh"
bash "$root/scripts/build.sh" -DSOLBITSEM_WERROR=ON
cd "$root/build"
QT_QPA_PLATFORM=offscreen bash "$root/scripts/pgcluster.sh" run ctest --output-on-failure -j"$(nproc)"
