# The Windows installer (CPack NSIS): the editor and the tool with the Qt libraries, the Qt
# plugins and the MinGW runtime beside them in bin/, a Start-menu entry, the .tvr file type with
# the program's icon, and an uninstaller that takes all of it away again.

# Qt's imported targets, plugins among them, are seen only below where they were found.
find_package(Qt6 6.4 REQUIRED COMPONENTS Widgets)
# Qt finds its plugins in these folders beside the executable.
install(FILES $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>
        DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin>
        DESTINATION ${CMAKE_INSTALL_BINDIR}/platforms)
install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin>
        DESTINATION ${CMAKE_INSTALL_BINDIR}/styles)
foreach(runtime libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime}
                    OUTPUT_VARIABLE runtime_path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${runtime_path}")
        message(FATAL_ERROR "The compiler does not know where ${runtime} is")
    endif()
    install(FILES ${runtime_path} DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()

set(CPACK_GENERATOR NSIS64)
# The NSIS commands below hold quotes and backslashes, which reach the script as written.
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_PACKAGE_NAME Velmora_N1)
set(CPACK_PACKAGE_VENDOR Tevra)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Velmora_N1-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Velmora_N1)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Velmora_N1)
set(CPACK_PACKAGE_EXECUTABLES Velmora_N1 Velmora_N1)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
# A 64-bit installer: a 32-bit one would not start on a 64-bit-only Wine, and would see the
# 32-bit view of the registry and of Program Files.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_DISPLAY_NAME Velmora_N1)
set(CPACK_NSIS_PACKAGE_NAME Velmora_N1)
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/res/tevra.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/res/tevra.ico)
set(CPACK_NSIS_INSTALLED_ICON_NAME bin\\Velmora_N1.exe)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# Double-clicking a program file opens it in the editor; the icon is the editor's own. The
# shell is told at once, so Explorer shows the new icon without a new login.
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS [[
  WriteRegStr HKCR ".tvr" "" "Velmora_N1.Program"
  WriteRegStr HKCR "Velmora_N1.Program" "" "Velmora_N1 program"
  WriteRegStr HKCR "Velmora_N1.Program\DefaultIcon" "" "$INSTDIR\bin\Velmora_N1.exe,0"
  WriteRegStr HKCR "Velmora_N1.Program\shell\open\command" "" '"$INSTDIR\bin\Velmora_N1.exe" "%1"'
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
]])
# The extension is left alone when another program has taken it over since.
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS [[
  ReadRegStr $0 HKCR ".tvr" ""
  StrCmp $0 "Velmora_N1.Program" 0 +2
    DeleteRegKey HKCR ".tvr"
  DeleteRegKey HKCR "Velmora_N1.Program"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
]])
include(CPack)
