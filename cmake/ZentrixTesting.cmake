# zentrix_add_test(<name> SOURCES ... [LIBS ...] [GUI])
# One GoogleTest executable, each test registered with CTest. GUI tests get a main() that owns a
# QApplication and run under the offscreen platform.
include(GoogleTest)

function(zentrix_add_test name)
    cmake_parse_arguments(T "GUI" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE zentrix_test_support ${T_LIBS} zentrix_warnings)
    if(T_GUI)
        target_link_libraries(${name} PRIVATE zentrix_test_support_qt)
    else()
        target_link_libraries(${name} PRIVATE GTest::gtest_main)
    endif()
    gtest_discover_tests(${name}
        WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
        DISCOVERY_TIMEOUT 60
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LANG=C.UTF-8;LC_ALL=C.UTF-8")
endfunction()
