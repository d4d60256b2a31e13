# SPDX-License-Identifier: GPL-3.0-or-later
# The sanitizers' settings for the checked builds, sourced by sanitizers.sh
# and fuzz.sh: the first report stops the program, and the suppressions (each
# for a library the launcher does not build) are read from scripts/suppressions.
suppressions="$(cd "$(dirname "$0")" && pwd)/suppressions"
# clang 14's runtime takes a dynamic TLS block that a malloc placed at one
# offset of a page for the header of glibc before 2.25, reads garbage as its
# bounds, and the leak checker's tracer dies at exit with "Tracer caught
# signal 11" after every case passed (fixed in LLVM 17). Not intercepting
# __tls_get_addr leaves dynamic TLS out of the roots the checker scans; the
# launcher keeps nothing there.
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:fast_unwind_on_malloc=0:intercept_tls_get_addr=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$suppressions/lsan.supp"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$suppressions/tsan.supp"
