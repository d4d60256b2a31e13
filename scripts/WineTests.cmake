# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the Windows tests under Wine (the CMAKE_CROSSCOMPILING_EMULATOR of the
# toolchain file), in a Wine prefix of their own below the build folder that
# the first test to run makes once. Adds to test_environment and sets
# qt_variable (the name prefix of Qt's environment variables) and
# wine_fixture for launcher_add_test.

# Wine keeps the build machine's QT_* variables from Windows programs; it
# passes on WINEQT_* as QT_*, as it passes WINEPATH on as PATH.
set(qt_variable WINEQT_)

if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
    message(FATAL_ERROR "Wine is needed to run the Windows tests (Debian: wine wine64)")
endif()
find_program(WINEBOOT_PROGRAM wineboot REQUIRED)

# Wine sees the build machine's root as drive Z:.
function(wine_path out path)
    set(${out} "Z:${path}" PARENT_SCOPE)
endfunction()

# A shared Qt and the compiler's runtime libraries are found through
# WINEPATH and Qt's plugin path; a static Qt needs neither.
set(qt_paths)
if(NOT VELMARCH_STATIC_QT)
    get_target_property(qt_core_dll Qt5::Core IMPORTED_LOCATION_RELEASE)
    get_filename_component(qt_bin ${qt_core_dll} DIRECTORY)
    get_filename_component(qt_plugins ${qt_bin}/../plugins ABSOLUTE)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
                    OUTPUT_VARIABLE cxx_runtime OUTPUT_STRIP_TRAILING_WHITESPACE)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libwinpthread-1.dll
                    OUTPUT_VARIABLE thread_runtime OUTPUT_STRIP_TRAILING_WHITESPACE)
    get_filename_component(cxx_runtime ${cxx_runtime} DIRECTORY)
    get_filename_component(thread_runtime ${thread_runtime} DIRECTORY)
    wine_path(qt_bin ${qt_bin})
    wine_path(qt_plugins ${qt_plugins})
    wine_path(cxx_runtime ${cxx_runtime})
    wine_path(thread_runtime ${thread_runtime})
    set(qt_paths "WINEPATH=${qt_bin}\\;${cxx_runtime}\\;${thread_runtime}"
                 ${qt_variable}PLUGIN_PATH=${qt_plugins})
endif()

set(wine_prefix ${CMAKE_BINARY_DIR}/wine)
# No prompts for Wine's .NET and browser engines, which nothing here uses.
# Qt Test writes to the debugger's log unless it sees a console or is told
# otherwise, and a Wine program's output to a pipe is no console.
list(APPEND test_environment
    WINEPREFIX=${wine_prefix}
    WINEDEBUG=-all
    WINEDLLOVERRIDES=mscoree,mshtml=
    ${qt_paths}
    ${qt_variable}FORCE_STDERR_LOGGING=1
    # Fonts for the offscreen screen, which does not ask Windows for them.
    ${qt_variable}QPA_FONTDIR=Z:/usr/share/fonts/truetype/dejavu)

add_test(NAME wine_prefix COMMAND ${CMAKE_COMMAND} -E env WINEPREFIX=${wine_prefix}
         WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= ${WINEBOOT_PROGRAM} --init)
set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine)
set(wine_fixture wine)

# Waits for the Wine server the tests started to end, so that nothing
# outlives the run.
find_program(WINESERVER_PROGRAM NAMES wineserver PATHS /usr/lib/wine REQUIRED)
add_test(NAME wine_server_stop COMMAND ${CMAKE_COMMAND} -E env WINEPREFIX=${wine_prefix}
         ${WINESERVER_PROGRAM} -w)
set_tests_properties(wine_server_stop PROPERTIES FIXTURES_CLEANUP wine)
