# SPDX-License-Identifier: GPL-3.0-or-later
# What a Linux player downloads: the launcher with the Qt libraries and
# plugins it loads, and every library those need beyond what every desktop
# Linux has, laid out to be unpacked straight into the launcher's folder.
# `cpack` packs it as Velmarch-<version>-linux-x86_64.tar.gz.
#
#   velmarch                 the program
#   qt.conf                  points Qt at the plugins below, never the system's
#   plugins/platforms/       the X11 platform plugin
#   plugins/imageformats/    the JPEG plugin (the background is a JPEG picture)
#   lib/                     Qt's libraries and theirs
#   Velmarch-README.txt      where it goes, how to start it, what it needs
#   icons/                   the launcher's icon in a desktop's sizes
#   Velmarch-licenses/, Velmarch-THIRD-PARTY.txt  the licences of all of the above
# (the players' files carry the launcher's name: the folder is the mod's too)

install(TARGETS velmarch RUNTIME DESTINATION .)
# An RPATH, unlike a RUNPATH, is searched for every library the program loads,
# the plugins' too, so the bundled libraries need no path of their own.
set_target_properties(velmarch PROPERTIES INSTALL_RPATH "$ORIGIN/lib")
target_link_options(velmarch PRIVATE -Wl,--disable-new-dtags)
install(FILES resources/qt.conf DESTINATION .)

set(plugins)
foreach(plugin Qt5::QXcbIntegrationPlugin Qt5::QJpegPlugin)
    get_target_property(location ${plugin} LOCATION)
    get_filename_component(kind ${location} DIRECTORY)
    get_filename_component(kind ${kind} NAME)
    install(FILES ${location} DESTINATION plugins/${kind})
    list(APPEND plugins ${location})
endforeach()

# What the system brings: the C and C++ runtimes, OpenGL's libraries (they
# belong to the graphics driver), the X client libraries, fontconfig with what
# it loads, and D-Bus's client library (it belongs to the system's bus).
set(system_libraries
    "^ld-linux" "^libc\\.so" "^libm\\.so" "^libdl\\.so" "^libpthread\\.so" "^librt\\.so"
    "^libstdc\\+\\+\\.so" "^libgcc_s\\.so"
    "^libGL\\.so" "^libGLX\\.so" "^libGLdispatch\\.so" "^libEGL\\.so" "^libOpenGL\\.so"
    "^libX11\\.so" "^libX11-xcb\\.so" "^libXau\\.so" "^libXdmcp\\.so" "^libxcb\\.so"
    "^libbsd\\.so" "^libmd\\.so"
    "^libfontconfig\\.so" "^libfreetype\\.so" "^libexpat\\.so" "^libz\\.so" "^libpng16\\.so"
    "^libbrotli" "^libbz2\\.so" "^libuuid\\.so"
    "^libdbus-1\\.so")

string(REPLACE "\\" "\\\\" system_libraries "${system_libraries}")
install(CODE "
    set(system_libraries \"${system_libraries}\")
    file(GET_RUNTIME_DEPENDENCIES
        EXECUTABLES \"$<TARGET_FILE:velmarch>\"
        LIBRARIES ${plugins}
        RESOLVED_DEPENDENCIES_VAR libraries
        UNRESOLVED_DEPENDENCIES_VAR missing
        PRE_EXCLUDE_REGEXES \${system_libraries})
    if(missing)
        message(FATAL_ERROR \"Libraries the launcher needs and the system does not have: \${missing}\")
    endif()
    foreach(library \${libraries})
        # Each under the name the loader asks for, as one file.
        get_filename_component(name \${library} NAME)
        get_filename_component(file \${library} REALPATH)
        file(INSTALL \${file} DESTINATION \"\${CMAKE_INSTALL_PREFIX}/lib\" RENAME \${name})
    endforeach()
")

# Velmarch-README.txt, the icon's sizes, and the licences of everything bundled.
install(CODE "
    execute_process(COMMAND sh \"${CMAKE_SOURCE_DIR}/scripts/linux-bundle-extras.sh\"
                            \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\" \"${CMAKE_SOURCE_DIR}\"
                    RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR \"The bundle's README, icons or licences could not be made\")
    endif()
")

set(CPACK_GENERATOR TGZ)
set(CPACK_PACKAGE_NAME Velmarch)
set(CPACK_PACKAGE_FILE_NAME "Velmarch-${PROJECT_VERSION}-linux-x86_64")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES TRUE)
include(CPack)
