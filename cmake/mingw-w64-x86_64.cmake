# Cross-build for 64-bit Windows with MinGW-w64 (the posix threads variant, for std::thread).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TEVRA_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TEVRA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TEVRA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TEVRA_MINGW_TRIPLE}-windres)
# The executables carry the MinGW runtime with them, so that Wine or a bare Windows runs them as
# they are; beside Qt's DLLs, which need the runtime's DLLs anyway, they share those instead.
if(NOT TEVRA_MINGW_SHARED_RUNTIME)
    set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
endif()

set(CMAKE_FIND_ROOT_PATH /usr/${TEVRA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# CLI11 and nlohmann-json are header-only and installed for the host only. Their package files
# derive the include directory from their own location, so they are reached through a staging
# tree whose include directory holds just those two libraries: the host's other headers (glibc
# among them) never come into the Windows build.
set(TEVRA_HOST_HEADERS_STAGE ${CMAKE_BINARY_DIR}/host-header-packages)
foreach(package CLI11 nlohmann_json)
    file(MAKE_DIRECTORY ${TEVRA_HOST_HEADERS_STAGE}/share/cmake)
    if(NOT EXISTS ${TEVRA_HOST_HEADERS_STAGE}/share/cmake/${package})
        file(CREATE_LINK /usr/share/cmake/${package}
             ${TEVRA_HOST_HEADERS_STAGE}/share/cmake/${package} SYMBOLIC)
    endif()
    set(${package}_DIR ${TEVRA_HOST_HEADERS_STAGE}/share/cmake/${package})
endforeach()
foreach(headers CLI nlohmann)
    file(MAKE_DIRECTORY ${TEVRA_HOST_HEADERS_STAGE}/include)
    if(NOT EXISTS ${TEVRA_HOST_HEADERS_STAGE}/include/${headers})
        file(CREATE_LINK /usr/include/${headers} ${TEVRA_HOST_HEADERS_STAGE}/include/${headers}
             SYMBOLIC)
    endif()
endforeach()
