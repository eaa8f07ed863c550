# varnok_wine_test(<name> SOURCES <files...> LIBRARIES <libs...>)
# A GoogleTest program of the Windows build. ctest runs it through the Wine
# runner (the cross-compiling emulator) as one test named wine.<name>; its own
# output lists every case.
function(varnok_wine_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} GTest::gtest GTest::gtest_main)
    varnok_target_options(${name})
    add_test(NAME wine.${name} COMMAND ${name})
    set_tests_properties(wine.${name} PROPERTIES TIMEOUT 600
        ENVIRONMENT "VARNOK_WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix")
endfunction()
