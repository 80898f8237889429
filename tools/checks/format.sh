#!/usr/bin/env bash
# The format check: every C++ source and header the repository tracks is as clang-format
# (the repository's .clang-format) writes it. Run by `./build.sh test`; on its own:
#   tools/checks/format.sh [SOURCE_DIR]
set -euo pipefail
cd "${1:-$(dirname "$0")/../..}"
git ls-files -z -- '*.cpp' '*.h' '*.inc' | xargs -0 clang-format --dry-run -Werror
echo "format: ok"
