# cmake -DZIP=<zip> -DSOURCE=<packaging/winget> -DOUT=<folder> -P WingetManifest.cmake
# Copies the winget manifest beside the zip it describes, with the zip's SHA-256 in place of
# the placeholder of the installer file.
file(SHA256 ${ZIP} sha256)
string(TOUPPER ${sha256} sha256)
file(REMOVE_RECURSE ${OUT})
file(GLOB manifests ${SOURCE}/*.yaml)
foreach(manifest IN LISTS manifests)
    get_filename_component(name ${manifest} NAME)
    file(READ ${manifest} text)
    string(REGEX REPLACE "InstallerSha256: [0-9A-Fa-f]+" "InstallerSha256: ${sha256}" text "${text}")
    file(WRITE ${OUT}/${name} "${text}")
endforeach()
