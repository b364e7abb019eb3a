# ostrel_test(<name> SOURCES ... LIBS ...): one GoogleTest executable, its tests
# registered one by one with CTest. Screen tests run offscreen so no display is needed.
include(GoogleTest)
function(ostrel_test nom)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${nom} ${T_SOURCES})
    target_link_libraries(${nom} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
    gtest_discover_tests(${nom}
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
        DISCOVERY_TIMEOUT 60)
endfunction()
