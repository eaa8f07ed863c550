# varnok_wine_test(<name> SOURCES <files...> LIBRARIES <libs...>)
# A GoogleTest program of the Windows build. ctest runs it through the Wine
# runner (the cross-compiling emulator) as one test named wine.<name>; its own
# output lists every case. All of a build folder's Wine tests share one prefix
# (one registry, one set of drives), so they take turns.
function(varnok_wine_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} GTest::gtest GTest::gtest_main)
    varnok_target_options(${name})
    add_test(NAME wine.${name} COMMAND ${name})
    set_tests_properties(wine.${name} PROPERTIES TIMEOUT 600
        RESOURCE_LOCK "${CMAKE_BINARY_DIR}/wineprefix"
        ENVIRONMENT "VARNOK_WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix")
endfunction()

# varnok_use_fixtures(<target>)
# Gives a test program VARNOK_FIXTURES_DIR: the absolute path of tests/fixtures
# as the program sees it. Windows programs run under Wine, whose drive Z: is
# the Linux root, so there it is Z:\...\tests\fixtures.
function(varnok_use_fixtures target)
    set(fixtures ${PROJECT_SOURCE_DIR}/tests/fixtures)
    if(WIN32)
        string(REPLACE "/" "\\\\" fixtures "Z:${fixtures}")
    endif()
    target_compile_definitions(${target} PRIVATE VARNOK_FIXTURES_DIR="${fixtures}")
endfunction()
