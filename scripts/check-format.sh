#!/bin/sh
# Fails when a C++ file in the repository is not formatted with .clang-format.
set -eu
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
