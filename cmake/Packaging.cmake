# SPDX-License-Identifier: GPL-3.0-or-later
# The installed program beyond its binaries and data files: the thumbnailer
# that lets file managers preview riddles, the manual pages, the riddle
# document icon as PNGs, and the Debian package (cpack -G DEB, make package).

# File managers (Nautilus, Thunar with tumbler...) run the thumbnailer with the
# riddle, the PNG to write and the size they want.
install(FILES ${PROJECT_SOURCE_DIR}/resources/desktop/vorlo.thumbnailer
        DESTINATION ${CMAKE_INSTALL_DATADIR}/thumbnailers)

# Manual pages, with the project's version filled in and compressed at build
# time as Debian wants them (-n: no name or time stamp inside, so the same
# page always gives the same bytes).
find_program(VORLO_GZIP gzip)
set(vorlo_man_pages)
foreach(page vorlo vorlo-cli)
    set(source ${PROJECT_BINARY_DIR}/man/${page}.1)
    configure_file(${PROJECT_SOURCE_DIR}/resources/man/${page}.1.in ${source} @ONLY)
    if(VORLO_GZIP)
        set(built ${PROJECT_BINARY_DIR}/man/${page}.1.gz)
        add_custom_command(OUTPUT ${built}
            COMMAND ${VORLO_GZIP} -9nkf ${source}
            DEPENDS ${source}
            COMMENT "Compressing the manual page ${page}.1"
            VERBATIM)
        list(APPEND vorlo_man_pages ${built})
    else()
        list(APPEND vorlo_man_pages ${source})
    endif()
endforeach()
add_custom_target(vorlo_man_pages ALL DEPENDS ${vorlo_man_pages})
install(FILES ${vorlo_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The riddle document icon as PNGs beside its SVG, drawn by the tool that draws
# the application icon (it names its output apps/vorlo.png; renamed on install).
set(vorlo_riddle_icon_svg ${PROJECT_SOURCE_DIR}/resources/desktop/application-x-vorlo-riddle.svg)
set(vorlo_riddle_icon_dir ${PROJECT_BINARY_DIR}/riddle-icon)
set(vorlo_riddle_icon_sizes 16 32 48 256)
set(vorlo_riddle_icon_pngs)
foreach(size IN LISTS vorlo_riddle_icon_sizes)
    list(APPEND vorlo_riddle_icon_pngs ${vorlo_riddle_icon_dir}/${size}x${size}/apps/vorlo.png)
endforeach()
add_custom_command(OUTPUT ${vorlo_riddle_icon_pngs}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
            $<TARGET_FILE:vorlo_render_icon> ${vorlo_riddle_icon_svg}
            ${vorlo_riddle_icon_dir} ${vorlo_riddle_icon_sizes}
    DEPENDS vorlo_render_icon ${vorlo_riddle_icon_svg}
    COMMENT "Drawing the riddle document icon as PNGs"
    VERBATIM)
add_custom_target(vorlo_riddle_icon_pngs ALL DEPENDS ${vorlo_riddle_icon_pngs})
foreach(size IN LISTS vorlo_riddle_icon_sizes)
    install(FILES ${vorlo_riddle_icon_dir}/${size}x${size}/apps/vorlo.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/mimetypes
            RENAME application-x-vorlo-riddle.png)
endforeach()

# The package's documentation: the licence in Debian's machine-readable form
# and the changelog, compressed as the manual pages are. The package is its
# own upstream (a native package), so the changelog is changelog.gz.
set(vorlo_changelog ${PROJECT_BINARY_DIR}/doc/changelog)
configure_file(${PROJECT_SOURCE_DIR}/resources/package/changelog ${vorlo_changelog} COPYONLY)
if(VORLO_GZIP)
    add_custom_command(OUTPUT ${vorlo_changelog}.gz
        COMMAND ${VORLO_GZIP} -9nkf ${vorlo_changelog}
        DEPENDS ${vorlo_changelog}
        COMMENT "Compressing the changelog"
        VERBATIM)
    add_custom_target(vorlo_changelog ALL DEPENDS ${vorlo_changelog}.gz)
    set(vorlo_changelog ${vorlo_changelog}.gz)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/resources/package/copyright ${vorlo_changelog}
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

# What lintian reports about the package and is so on purpose, with the reasons.
install(FILES ${PROJECT_SOURCE_DIR}/resources/package/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME vorlo)

# Software centres list the program from its AppStream metadata.
install(FILES ${PROJECT_SOURCE_DIR}/resources/desktop/org.example.Vorlo.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The desktop entry names the program by its full path, which is known for
# sure only when installing: `cmake --install --prefix` and cpack choose their
# own prefix. Rewritten here, after the entry itself has been installed.
set(vorlo_fix_entry [==[
    set(vorlo_entry "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/@CMAKE_INSTALL_DATADIR@/applications/vorlo.desktop")
    set(vorlo_program "${CMAKE_INSTALL_PREFIX}/@VORLO_INSTALL_GAMESDIR@/vorlo")
    if(NOT EXISTS "${vorlo_entry}")
        message(FATAL_ERROR "the desktop entry ${vorlo_entry} was not installed")
    endif()
    # A path that the Exec key would have to quote is refused rather than
    # written wrongly.
    if(vorlo_program MATCHES "[][ \t\n\"'\\<>~|&;$*?#()`%]")
        message(FATAL_ERROR "cannot name ${vorlo_program} in a desktop entry: "
                            "choose a prefix without spaces or shell characters")
    endif()
    file(READ "${vorlo_entry}" vorlo_text)
    string(REGEX REPLACE "\nTryExec=[^\n]*" "\nTryExec=${vorlo_program}" vorlo_text "${vorlo_text}")
    string(REGEX REPLACE "\nExec=[^\n]*" "\nExec=${vorlo_program} %f" vorlo_text "${vorlo_text}")
    file(WRITE "${vorlo_entry}" "${vorlo_text}")
]==])
if(IS_ABSOLUTE "${CMAKE_INSTALL_BINDIR}" OR IS_ABSOLUTE "${CMAKE_INSTALL_DATADIR}")
    message(FATAL_ERROR "CMAKE_INSTALL_BINDIR and CMAKE_INSTALL_DATADIR must be relative to the prefix")
endif()
string(CONFIGURE "${vorlo_fix_entry}" vorlo_fix_entry @ONLY)
install(CODE "${vorlo_fix_entry}")

# The Debian package: vorlo_<version>_amd64.deb, installed under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vorlo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Vorlo developers")
set(CPACK_PACKAGE_CONTACT "Vorlo developers <dev@vorlo.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "matchstick riddles: play and build them")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The install rules then see the final prefix /usr (and a staging DESTDIR),
# so what they write into files names the installed paths.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_NAME vorlo)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Vorlo developers <dev@vorlo.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://vorlo.example/)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The summary above is the first line; this is the long text below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Vorlo shows riddles drawn with matches on a board, each with a short task
such as moving two matches so that a cup opens downward. Matches are moved
with the left mouse button and turned about one end with the right; the same
window edits riddles, prints them and keeps them in .vrl files.
.
The package holds the program, four sample riddles and seventy riddles of
matchstick equations and squares, the command-line tool vorlo-cli (inspect,
create, draw, solve and make riddles) and a thumbnailer that shows riddles'
pictures as previews in file managers.")
# Libraries come from dpkg-shlibdeps. Qt loads its platform plugins and the
# SVG icon engine (in libqt6svg6, for the desktop theme's toolbar pictures)
# at run time, which no linker sees.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
