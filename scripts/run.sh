#!/usr/bin/env bash
# Installs what is missing, builds the editor alone (not the tests or the
# benchmarks), and starts it on the sample page. Arguments, if any, go to the
# editor instead (paths relative to the project).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bash scripts/install-deps.sh
TARGET=larkspur bash scripts/build.sh build
echo "Built the editor only; 'bash scripts/test.sh' builds everything into build/ and runs the tests."
if [ $# -eq 0 ]; then
  # The preview writes its copy beside the page: work on a copy of the sample.
  rm -rf build/sample
  cp -r res/sample build/sample
  set -- "$root/build/sample/index.html"
else
  args=()
  for a in "$@"; do
    case "$a" in -*) args+=("$a") ;; *) args+=("$(realpath -m "$a")") ;; esac
  done
  set -- "${args[@]}"
fi
# The Help button opens qstart.html from the current folder; the build puts
# it beside the editor.
cd build/app
exec ./larkspur "$@"
