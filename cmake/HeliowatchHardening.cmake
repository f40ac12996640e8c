# Debian's hardening flags in every build: what dpkg-buildflags asks of a
# package (stack protector, fortified functions, read-only relocations bound
# at start), without its optimisation and debug choices, which stay the
# build type's. Fortification needs an optimised build.
find_program(DPKG_BUILDFLAGS dpkg-buildflags REQUIRED)

# A cross build asks for the flags of the machine it builds for.
set(host_arch)
if(HELIOWATCH_DEB_ARCH)
    set(host_arch DEB_HOST_ARCH=${HELIOWATCH_DEB_ARCH})
endif()

function(heliowatch_dpkg_flags kind out)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                ${host_arch} ${DPKG_BUILDFLAGS} --get ${kind}
        OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    list(FILTER flags INCLUDE REGEX "^(-fstack-protector|-fstack-clash|-fcf-protection|-D_FORTIFY_SOURCE|-Werror=format-security|-Wl,-z,)")
    set(${out} ${flags} PARENT_SCOPE)
endfunction()

heliowatch_dpkg_flags(CPPFLAGS hardening_cpp)
heliowatch_dpkg_flags(CXXFLAGS hardening_cxx)
heliowatch_dpkg_flags(LDFLAGS hardening_ld)
if(CMAKE_BUILD_TYPE STREQUAL "Debug" OR HELIOWATCH_SANITIZE OR HELIOWATCH_FUZZ)
    list(FILTER hardening_cpp EXCLUDE REGEX "^-D_FORTIFY_SOURCE")
endif()
add_compile_options(${hardening_cpp} ${hardening_cxx})
add_link_options(${hardening_ld})
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
include(CheckPIESupported)
check_pie_supported()
