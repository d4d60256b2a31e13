# SPDX-License-Identifier: GPL-3.0-or-later
# The sanitizers' settings for the checked builds, sourced by sanitizers.sh
# and fuzz.sh: the first report stops the program, and the suppressions (each
# for a library the launcher does not build) are read from scripts/suppressions.
suppressions="$(cd "$(dirname "$0")" && pwd)/suppressions"
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:fast_unwind_on_malloc=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$suppressions/lsan.supp"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$suppressions/tsan.supp"
