# ostrel_entetes(<library> [ENTETES <name>...]): the library's include root is
# a folder of the build holding links to its own folder's headers only (or to
# the ENTETES named, for a library of a few of them), under their usual
# spelling ("link/trames.h"). A library thus sees the headers of the libraries
# it links and no others: an include across layers that this build does not
# declare fails to compile. The links follow the headers present at each
# configure, and a header added or removed configures again.
function(ostrel_entetes cible)
    cmake_parse_arguments(E "" "" "ENTETES" ${ARGN})
    file(RELATIVE_PATH dossier ${PROJECT_SOURCE_DIR}/src ${CMAKE_CURRENT_SOURCE_DIR})
    # A folder outside src/ keeps its own name: "sim/simulateur.h".
    if(dossier MATCHES "^\\.\\.")
        file(RELATIVE_PATH dossier ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
    endif()
    set(racine ${PROJECT_BINARY_DIR}/entetes/${cible})
    if(E_ENTETES)
        list(TRANSFORM E_ENTETES PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/ OUTPUT_VARIABLE entetes)
    else()
        file(GLOB entetes CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    endif()
    file(REMOVE_RECURSE ${racine})
    file(MAKE_DIRECTORY ${racine}/${dossier})
    foreach(entete ${entetes})
        get_filename_component(nom ${entete} NAME)
        file(CREATE_LINK ${entete} ${racine}/${dossier}/${nom} SYMBOLIC)
    endforeach()
    get_target_property(type ${cible} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
        target_include_directories(${cible} INTERFACE ${racine})
    else()
        target_include_directories(${cible} PUBLIC ${racine})
    endif()
endfunction()

# ostrel_test(<name> [CHAINES_SYSTEME] SOURCES ... LIBS ...): one GoogleTest executable, its tests
# registered one by one with CTest. Screen tests run offscreen so no display is needed.
# tests/ is on the include path for the helpers the test folders share.
# Under the sanitizers, the tests also check that every string a call reads
# is whole, which the programs run by hand do not (see sanitizers.cpp);
# CHAINES_SYSTEME leaves that check out for a program whose system libraries
# read strings that have no end of their own (libxkbcommon-x11, reading the
# keyboard of a real X server).
include(GoogleTest)
function(ostrel_test nom)
    cmake_parse_arguments(T "CHAINES_SYSTEME" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${nom} ${T_SOURCES})
    set_property(TARGET ${nom} PROPERTY OSTREL_SUITE ON)
    target_link_libraries(${nom} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
    target_include_directories(${nom} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    set(sanitizers)
    if(OSTREL_SANITIZE AND NOT T_CHAINES_SYSTEME)
        set(sanitizers ENVIRONMENT_MODIFICATION "ASAN_OPTIONS=path_list_append:strict_string_checks=1")
    endif()
    gtest_discover_tests(${nom}
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" ${sanitizers}
        DISCOVERY_TIMEOUT 60)
endfunction()

# ostrel_tests_du_dossier(<name> LIBS ...): every test_*.cpp of the calling
# folder in one test executable.
function(ostrel_tests_du_dossier nom)
    cmake_parse_arguments(T "" "" "LIBS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/test_*.cpp)
    if(sources)
        ostrel_test(${nom} SOURCES ${sources} LIBS ${T_LIBS})
    endif()
endfunction()

# ostrel_capture(<name> [SANS_PROGRAMME] [LIBS ...]): the picture tool
# <name>.cpp of the calling folder, run by hand or by scripts/, never by the
# suite. It links the whole program and the simulator unless SANS_PROGRAMME,
# and the libraries given.
function(ostrel_capture nom)
    cmake_parse_arguments(T "SANS_PROGRAMME" "" "LIBS" ${ARGN})
    add_executable(${nom} ${nom}.cpp)
    if(NOT T_SANS_PROGRAMME)
        target_link_libraries(${nom} PRIVATE ostrel_shell ostrel_history ostrel_config ostrel_options ostrel_sim)
    endif()
    target_link_libraries(${nom} PRIVATE ${T_LIBS})
    target_include_directories(${nom} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
endfunction()

# ostrel_reglages_sanitizers(<folder>): adds the sanitizers' settings
# (sanitizers.cpp beside this file) to every program of the folder and of
# the folders below it. Such a build is there to run the suite: the programs
# the tests do not run (Ostrel, picture tools, benchmarks) are built only
# when asked for by name.
function(ostrel_reglages_sanitizers dossier)
    get_property(cibles DIRECTORY ${dossier} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(cible ${cibles})
        get_target_property(type ${cible} TYPE)
        if(type STREQUAL "EXECUTABLE")
            target_sources(${cible} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/sanitizers.cpp)
            get_target_property(suite ${cible} OSTREL_SUITE)
            if(NOT suite)
                set_property(TARGET ${cible} PROPERTY EXCLUDE_FROM_ALL ON)
            endif()
        endif()
    endforeach()
    get_property(sous_dossiers DIRECTORY ${dossier} PROPERTY SUBDIRECTORIES)
    foreach(sous_dossier ${sous_dossiers})
        ostrel_reglages_sanitizers(${sous_dossier})
    endforeach()
endfunction()
