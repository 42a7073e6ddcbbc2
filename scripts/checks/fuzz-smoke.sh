#!/bin/bash
# Every libFuzzer target for 20 seconds on its seeds and what earlier runs found.
set -euo pipefail
cd "$(dirname "$0")/../.."
bash scripts/fuzz.sh 20
