# heliowatch_export_folder(TARGET FOLDER [SOURCE DIR])
# Gives TARGET and its users an include root that holds only src/FOLDER (or
# DIR), so they include its headers as "FOLDER/Name.h" and nothing else
# becomes reachable through it: a header of a library not linked does not
# compile.
function(heliowatch_export_folder target folder)
    cmake_parse_arguments(E "" "SOURCE" "" ${ARGN})
    if(NOT E_SOURCE)
        set(E_SOURCE ${PROJECT_SOURCE_DIR}/src/${folder})
    endif()
    set(root ${CMAKE_BINARY_DIR}/include-roots/${folder})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${E_SOURCE} ${root}/${folder} SYMBOLIC)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
        target_include_directories(${target} INTERFACE ${root})
    else()
        target_include_directories(${target} PUBLIC ${root})
    endif()
endfunction()
