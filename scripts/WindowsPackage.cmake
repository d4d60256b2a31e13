# SPDX-License-Identifier: GPL-3.0-or-later
# What a player downloads: "Velmarch 8.4.exe", to be put straight into the
# launcher's folder, with a README for players and the licences of all it
# holds (Velmarch-licenses/, Velmarch-THIRD-PARTY.txt), all under the
# launcher's name, since the launcher's folder is the mod's too. Against Qt built as static libraries
# (scripts/build-qt-mingw.sh) the program is one file with Qt, its plugins and
# the compiler's runtime inside; against a shared Qt (a Qt installer's kit)
# the Qt libraries and plugins it loads and the compiler's runtime libraries
# go beside it. `cpack` packs it as Velmarch-<version>-win64.zip.

install(TARGETS velmarch RUNTIME DESTINATION .)
# The players' guide as plain text; where no shell makes it (a native
# Windows build), as it is written.
find_program(SH_PROGRAM sh)
if(SH_PROGRAM)
    install(CODE "
        execute_process(COMMAND \"${SH_PROGRAM}\" \"${CMAKE_SOURCE_DIR}/scripts/players-readme.sh\" windows
                                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/Velmarch-README.txt\"
                        RESULT_VARIABLE failed)
        if(failed)
            message(FATAL_ERROR \"The players' README could not be made\")
        endif()
    ")
else()
    install(FILES docs/players.md DESTINATION . RENAME Velmarch-README.txt)
endif()

if(NOT VELMARCH_STATIC_QT)
    foreach(library Qt5::Core Qt5::Gui Qt5::Widgets)
        get_target_property(location ${library} IMPORTED_LOCATION_RELEASE)
        install(FILES ${location} DESTINATION .)
    endforeach()

    # Plugins go in the folder named after their kind (platforms, styles,
    # imageformats) beside the program, where Qt looks for them.
    foreach(plugin Qt5::QWindowsIntegrationPlugin Qt5::QWindowsVistaStylePlugin Qt5::QJpegPlugin)
        get_target_property(location ${plugin} IMPORTED_LOCATION_RELEASE)
        get_filename_component(kind ${location} DIRECTORY)
        get_filename_component(kind ${kind} NAME)
        install(FILES ${location} DESTINATION ${kind})
    endforeach()

    if(MINGW)
        foreach(runtime libgcc_s_seh-1.dll libstdc++-6.dll libwinpthread-1.dll)
            execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime}
                            OUTPUT_VARIABLE location OUTPUT_STRIP_TRAILING_WHITESPACE)
            if(NOT IS_ABSOLUTE "${location}")
                message(FATAL_ERROR "The compiler does not know where ${runtime} is")
            endif()
            install(FILES ${location} DESTINATION .)
            # Debian's copies carry their debugging information (libstdc++ is
            # 23 MB with it, 2 MB without); stripped as the program is.
            get_filename_component(name ${location} NAME)
            install(CODE "if(CMAKE_INSTALL_DO_STRIP)
                execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded
                                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${name}\")
            endif()")
        endforeach()
    endif()
endif()

# The licences of the launcher and of everything above, from Debian's
# package database and the Qt build's record, where the program is
# cross-built. The linker's map says which objects of Qt's libraries and of
# the compiler's the program holds.
get_filename_component(qt_prefix "${Qt5_DIR}/../../.." ABSOLUTE)
find_program(DPKG_QUERY_PROGRAM dpkg-query)
if(MINGW AND DPKG_QUERY_PROGRAM AND EXISTS "${qt_prefix}/licenses/qtbase.objects.tsv.gz")
    set(link_map "${CMAKE_BINARY_DIR}/velmarch.map")
    target_link_options(velmarch PRIVATE "LINKER:-Map=${link_map}")
    install(CODE "
        execute_process(COMMAND sh \"${CMAKE_SOURCE_DIR}/scripts/write-third-party.sh\" windows
                                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\" \"${CMAKE_SOURCE_DIR}\"
                                \"${qt_prefix}\" \"${link_map}\"
                        RESULT_VARIABLE failed)
        if(failed)
            message(FATAL_ERROR \"The licences could not be collected\")
        endif()
    ")
endif()

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Velmarch)
set(CPACK_PACKAGE_FILE_NAME "Velmarch-${PROJECT_VERSION}-win64")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES TRUE)
include(CPack)
