# The distribution as users receive it: SetUp.exe beside a folder "Data", laid out in
# <build>/dist/VarnokSetup/ and packed as <build>/dist/VarnokSetup.zip (one top folder, as the
# winget manifest's nested installer path names it), with the manifest in <build>/dist/winget/:
#   cmake --build --preset windows --target dist
# Data comes from VARNOK_DIST_DATA, by default the tests' sample Data folder (small text
# stand-ins that say they are samples, not the add-in's files).
#
# The folder's name is ASCII so that any zip tool and file system keep it. The zip is written
# by CMake itself under a UTF-8 locale, which marks the Chinese file names in Data with the zip
# format's UTF-8 flag that 7-Zip, WinRAR and current Windows read; Info-ZIP's zip stores the same
# names without the flag, and Windows tools then show them garbled.
if(NOT TARGET SetUp)
    return()
endif()

set(VARNOK_DIST_DATA ${PROJECT_SOURCE_DIR}/tests/fixtures/sample-data
    CACHE PATH "The Data folder that the distribution ships beside SetUp.exe")

set(varnok_dist_name VarnokSetup)
set(varnok_dist_root ${CMAKE_BINARY_DIR}/dist)
set(varnok_dist_folder ${varnok_dist_root}/${varnok_dist_name})
set(varnok_dist_zip ${varnok_dist_root}/${varnok_dist_name}.zip)

# Laid out afresh every time, so no file of an earlier Data folder survives.
add_custom_target(dist
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${varnok_dist_folder} ${varnok_dist_zip}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${varnok_dist_folder}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:SetUp> ${varnok_dist_folder}/SetUp.exe
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${VARNOK_DIST_DATA} ${varnok_dist_folder}/Data
    COMMAND ${CMAKE_COMMAND} -E chdir ${varnok_dist_root}
            ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8
            ${CMAKE_COMMAND} -E tar cf ${varnok_dist_zip} --format=zip ${varnok_dist_name}
    COMMAND ${CMAKE_COMMAND} -DZIP=${varnok_dist_zip} -DSOURCE=${PROJECT_SOURCE_DIR}/packaging/winget
            -DOUT=${varnok_dist_root}/winget -P ${PROJECT_SOURCE_DIR}/cmake/WingetManifest.cmake
    DEPENDS SetUp
    COMMENT "Distribution: ${varnok_dist_folder} and ${varnok_dist_zip}"
    VERBATIM)
