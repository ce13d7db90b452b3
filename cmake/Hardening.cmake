# A Debian package is built with the distribution's hardening flags (stack protector, fortified
# calls, read-only relocations), and lintian looks for their traces in the packaged executables.
# On for a native Release build where dpkg-buildflags exists, which is the build the package
# comes from. The optimisation level stays the build type's; debug information would only be
# stripped from the package.
find_program(DPKG_BUILDFLAGS dpkg-buildflags)
set(hardening_by_default OFF)
if(DPKG_BUILDFLAGS AND CMAKE_BUILD_TYPE STREQUAL "Release" AND NOT CMAKE_CROSSCOMPILING)
    set(hardening_by_default ON)
endif()
option(TEVRA_DEBIAN_HARDENING "Build with the hardening flags dpkg-buildflags gives"
       ${hardening_by_default})

if(TEVRA_DEBIAN_HARDENING)
    if(NOT DPKG_BUILDFLAGS)
        message(FATAL_ERROR "TEVRA_DEBIAN_HARDENING needs dpkg-buildflags (package dpkg-dev)")
    endif()
    foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
        execute_process(
            COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                    ${DPKG_BUILDFLAGS} --get ${kind}
            OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
        separate_arguments(flags UNIX_COMMAND "${flags}")
        list(FILTER flags EXCLUDE REGEX "^(-g|-O.*|-ffile-prefix-map=.*)$")
        if(kind STREQUAL "LDFLAGS")
            add_link_options(${flags})
        else()
            add_compile_options(${flags})
        endif()
    endforeach()
endif()
