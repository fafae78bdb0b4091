#!/usr/bin/env bash
# Installs what is missing, builds, and starts the editor on the sample page.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh build
exec build/gui_build/larkspur "$@"
