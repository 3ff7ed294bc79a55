include(GoogleTest)

# tarvane_add_test(<name> SOURCES ... [LIBS ...] [GUI])
# GUI tests get a QApplication on the offscreen platform and Qt Test's key and mouse events.
function(tarvane_add_test name)
    cmake_parse_arguments(T "GUI" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock tarvane_options)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
    set(_env "LC_ALL=C.UTF-8" "TARVANE_TEST_OUTPUT=${CMAKE_BINARY_DIR}/test-output")
    if(T_GUI)
        target_link_libraries(${name} PRIVATE tarvane_test_qtmain Qt6::Test)
        list(APPEND _env "QT_QPA_PLATFORM=offscreen")
    else()
        target_link_libraries(${name} PRIVATE GTest::gtest_main)
    endif()
    # gtest_discover_tests keeps only the first entry of an ENVIRONMENT list, so the variables
    # are set by running each test through `cmake -E env`, at discovery and at run time alike.
    set_property(TARGET ${name} PROPERTY CROSSCOMPILING_EMULATOR ${CMAKE_COMMAND} -E env ${_env})
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        PROPERTIES TIMEOUT 120)
endfunction()
