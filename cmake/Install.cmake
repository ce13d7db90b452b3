# `cmake --install` and the Debian package: the editor and the tool, and on a Linux desktop the
# menu and software-centre entries, the icon and the program file type, and the documents. The icon's pictures come from
# scripts/make-bitmaps.py, as the Windows icon does.
include(GNUInstallDirs)

# Into CMAKE_INSTALL_BINDIR, the place GNUInstallDirs gives executables.
install(TARGETS tevra)
if(TARGET tevra_manual)
    install(FILES ${PROJECT_BINARY_DIR}/cli/tevra.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES ${PROJECT_BINARY_DIR}/cli/tevra.bash
            DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME tevra)
endif()
if(NOT TARGET Velmora_N1)
    return()
endif()
install(TARGETS Velmora_N1)
if(TARGET Velmora_N1_manual)
    install(FILES ${PROJECT_BINARY_DIR}/app/Velmora_N1.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
if(WIN32)
    include(${CMAKE_CURRENT_LIST_DIR}/WindowsInstaller.cmake)
    return()
endif()

set(data_dir ${CMAKE_INSTALL_DATADIR})
# The desktop knows the application by this name: its menu entry, software-centre entry, icon
# and file type.
set(app_id org.tevra.Velmora_N1)
install(FILES ${PROJECT_SOURCE_DIR}/res/${app_id}.desktop DESTINATION ${data_dir}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/res/${app_id}.metainfo.xml DESTINATION ${data_dir}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/res/${app_id}.xml DESTINATION ${data_dir}/mime/packages)
foreach(size 16 24 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/res/icons/${size}.png
            DESTINATION ${data_dir}/icons/hicolor/${size}x${size}/apps RENAME ${app_id}.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/res/icons/scalable.svg
        DESTINATION ${data_dir}/icons/hicolor/scalable/apps RENAME ${app_id}.svg)
install(FILES ${PROJECT_SOURCE_DIR}/res/icons/scalable.svg
        DESTINATION ${data_dir}/icons/hicolor/scalable/mimetypes
        RENAME application-x-tevra-program.svg)

set(TEVRA_MAINTAINER "Tevra developers <developers@tevra.org>")
# The documents a Debian system keeps beside every package, in the forms Debian wants: the
# licence as a machine-readable copyright file, the changelog compressed without a time stamp.
set(doc_dir ${data_dir}/doc/velmora-n1)
set(debian_dir ${CMAKE_CURRENT_BINARY_DIR}/debian)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
string(STRIP "${licence}" licence)
string(REPLACE "\n\n" "\n.\n" licence "${licence}")
string(REPLACE "\n" "\n " licence "${licence}")
file(WRITE ${debian_dir}/copyright
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Tevra
Upstream-Contact: ${TEVRA_MAINTAINER}
Source: https://github.com/tevra/tevra

Files: *
Copyright: 2026 Tevra developers
License: Expat
 ${licence}
")
configure_file(${PROJECT_SOURCE_DIR}/res/debian/changelog.in ${debian_dir}/changelog @ONLY)
execute_process(COMMAND gzip -9 -n -c ${debian_dir}/changelog OUTPUT_FILE ${debian_dir}/changelog.gz
                COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${debian_dir}/copyright ${debian_dir}/changelog.gz ${PROJECT_SOURCE_DIR}/README.md
        DESTINATION ${doc_dir})

# Installed straight into a system, the desktop's caches learn of the new type, entry and icon
# at once. Into a staging root (DESTDIR, as for the package) they are left alone: a package's
# triggers update them when it is installed.
install(CODE "set(data_dir \"${data_dir}\")")
install(CODE [[
    if("$ENV{DESTDIR}" STREQUAL "")
        set(share ${CMAKE_INSTALL_PREFIX}/${data_dir})
        # A desktop without one of these tools has no such cache: a command not found is no
        # failure to execute_process.
        execute_process(COMMAND update-mime-database ${share}/mime)
        execute_process(COMMAND update-desktop-database ${share}/applications)
        execute_process(COMMAND gtk-update-icon-cache -q -t ${share}/icons/hicolor)
    endif()
]])

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora-n1)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor and programming tool for a 16-channel lighting controller")
# Lines of the extended description stay within 80 columns, and none may begin with a full stop:
# dpkg reads " ." as an empty line.
# CPack puts the summary before it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Velmora_N1 edits light programs of up to 500 steps, keeps them as program
files (*.tvr) and writes them into the controller over a serial port, every
block read back and compared. The tevra tool does the same from the command
line, reads a controller back and simulates one.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TEVRA_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://tevra.org)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
# Dependencies from the libraries the executables link, as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own buttons and file dialogs in the language of the window texts.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
include(CPack)
