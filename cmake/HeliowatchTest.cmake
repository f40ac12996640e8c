# heliowatch_add_test(NAME SOURCES src... LIBS lib... [LABELS label...] [TIMEOUT s] [OWN_MAIN])
# One GoogleTest executable; every test case becomes a CTest test with the
# labels, a timeout and a temporary directory in HELIOWATCH_TEST_TMP.
find_package(GTest REQUIRED)
include(GoogleTest)

function(heliowatch_add_test name)
    cmake_parse_arguments(T "OWN_MAIN" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 60)
    endif()
    add_executable(${name} ${T_SOURCES})
    if(T_OWN_MAIN)
        target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest Threads::Threads)
    else()
        target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main Threads::Threads)
    endif()
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    gtest_discover_tests(${name} TEST_LIST ${name}_TESTS DISCOVERY_TIMEOUT 30)

    # Discovery flattens list-valued properties, so they are set afterwards
    # on the discovered tests.
    set(environment "HELIOWATCH_TEST_TMP=${CMAKE_BINARY_DIR}/test-tmp;QT_QPA_PLATFORM=offscreen")
    set(properties "${CMAKE_CURRENT_BINARY_DIR}/${name}_properties.cmake")
    file(WRITE ${properties}
        "if(${name}_TESTS)\n"
        "  set_tests_properties(\${${name}_TESTS} PROPERTIES\n"
        "    LABELS \"${T_LABELS}\" TIMEOUT ${T_TIMEOUT} ENVIRONMENT \"${environment}\")\n"
        "endif()\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${properties})
endfunction()
