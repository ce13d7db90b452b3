# `cmake --install` and the Debian package: the editor and the tool, and on a Linux desktop the
# menu entry, the icon and the program file type. The icon's pictures come from
# scripts/make-bitmaps.py, as the Windows icon does.
include(GNUInstallDirs)

# Into CMAKE_INSTALL_BINDIR, the place GNUInstallDirs gives executables.
install(TARGETS tevra)
if(NOT TARGET Velmora_N1)
    return()
endif()
install(TARGETS Velmora_N1)
if(WIN32)
    include(${CMAKE_CURRENT_LIST_DIR}/WindowsInstaller.cmake)
    return()
endif()

set(data_dir ${CMAKE_INSTALL_DATADIR})
install(FILES ${PROJECT_SOURCE_DIR}/res/Velmora_N1.desktop DESTINATION ${data_dir}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/res/Velmora_N1.xml DESTINATION ${data_dir}/mime/packages)
foreach(size 16 24 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/res/icons/${size}.png
            DESTINATION ${data_dir}/icons/hicolor/${size}x${size}/apps RENAME Velmora_N1.png)
endforeach()

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
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Velmora_N1 edits light programs of up to 500 steps, keeps them as
.tvr files and writes them into the controller over a serial port, every block read back and
compared. The tevra tool does the same from the command line.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tevra maintainers <tevra@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Dependencies from the libraries the executables link, as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own buttons and file dialogs in the language of the window texts.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
include(CPack)
