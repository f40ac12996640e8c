# heliowatch_add_test(NAME SOURCES src... LIBS lib... [LABELS label...] [TIMEOUT s])
# One GoogleTest executable; every test case becomes a CTest test with its own
# temporary directory in HELIOWATCH_TEST_TMP.
find_package(GTest REQUIRED)
include(GoogleTest)

function(heliowatch_add_test name)
    cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 60)
    endif()
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main Threads::Threads)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    gtest_discover_tests(${name}
        PROPERTIES LABELS "${T_LABELS}" TIMEOUT ${T_TIMEOUT}
        ENVIRONMENT "HELIOWATCH_TEST_TMP=${CMAKE_BINARY_DIR}/test-tmp;QT_QPA_PLATFORM=offscreen"
        DISCOVERY_TIMEOUT 30)
endfunction()
