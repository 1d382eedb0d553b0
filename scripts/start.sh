#!/usr/bin/env bash
# Installs what is missing, builds and starts the program on its own new ledger.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/deps.sh"
bash "$root/scripts/build.sh"
exec "$root/build/src/app/solbitsem" "$@"
