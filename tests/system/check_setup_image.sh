#!/usr/bin/env bash
# Checks SetUp.exe as built, without running it: a 64-bit Windows GUI program
# (PE32+, x86-64) of at most 400 KiB (the file that is shipped), whose import
# table names only DLLs that Windows always loads from its system folder
# (KnownDLLs: a DLL planted beside the setup cannot stand in for them), and
# whose manifest (resource type 24, id 1) asks for administrator rights,
# declares per-monitor DPI awareness with the system's as fallback, and names
# the Windows versions it supports.
#   check_setup_image.sh SETUP_EXE [OBJDUMP]
set -euo pipefail
# objdump speaks the caller's language; the checks read its English output.
export LC_ALL=C

exe=${1:?usage: $0 SETUP_EXE [OBJDUMP]}
objdump=${2:-x86_64-w64-mingw32-objdump}
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# KnownDLLs of every Windows from 7 on that the program may need.
known_dlls=" kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll ole32.dll oleaut32.dll
  comdlg32.dll msvcrt.dll shlwapi.dll imm32.dll rpcrt4.dll ws2_32.dll psapi.dll setupapi.dll "

headers=$("$objdump" -p "$exe")

# Size: what is shipped and downloaded. bench/RESULTS.md says where the bytes go.
readonly max_kib=400
size=$(stat -c %s "$exe")
if [ "$size" -le $((max_kib * 1024)) ]; then
    echo "size: $((size / 1024)) KiB ($size bytes), $(((max_kib * 1024 - size) / 1024)) KiB under $max_kib KiB"
else
    fail "SetUp.exe is $((size / 1024)) KiB ($size bytes), more than $max_kib KiB"
fi

grep -q 'file format pei-x86-64' <<<"$headers" || fail "not an x86-64 PE image"
grep -Eq '^Magic[[:space:]]+020b' <<<"$headers" || fail "not PE32+"
grep -Eq '^Subsystem[[:space:]]+00000002' <<<"$headers" || fail "not a Windows GUI program"

# Every DLL the loader resolves by name, delay-loaded ones included.
mapfile -t dlls < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z' | sort -u)
[ "${#dlls[@]}" -gt 0 ] || fail "no import table found"
for dll in "${dlls[@]}"; do
    if [[ $known_dlls == *" $dll "* ]]; then
        echo "import: $dll (KnownDLL)"
    else
        fail "imports $dll, which is no KnownDLL: load it from the system folder at run time"
    fi
done

# The manifest: the leaf below type 24 (3 spaces deep in objdump's listing)
# and name 1; its address is relative to the image base.
leaf=$(awk '
    /^[0-9a-f]+   Entry: ID: 0x/ { manifest = ($4 == "0x000018,"); named = 0 }
    manifest && /^[0-9a-f]+     Entry: ID: 0x000001,/ { named = 1 }
    manifest && named && /Leaf: Addr:/ { gsub(",", ""); print $4, $6; exit }
' <<<"$headers")
if [ -z "$leaf" ]; then
    fail "no manifest resource (type 24, id 1)"
else
    read -r rva size <<<"$leaf"
    image_base=$(awk '/^ImageBase/ { print $2 }' <<<"$headers")
    read -r vma file_offset < <("$objdump" -h "$exe" | awk '$2 == ".rsrc" { print $4, $6 }')
    offset=$((rva - (0x$vma - 0x$image_base) + 0x$file_offset))
    manifest=$(dd if="$exe" iflag=skip_bytes,count_bytes skip="$offset" count=$((size)) \
        status=none | tr -d '\0')
    if grep -Eq '<requestedExecutionLevel[^>]*level="requireAdministrator"' <<<"$manifest"; then
        echo "manifest: requireAdministrator"
    else
        fail "the manifest does not ask for administrator rights"
        echo "$manifest" >&2
    fi
    # Per monitor (v2) where Windows 10 1703 and later read dpiAwareness, the
    # system's DPI where older ones read only dpiAware.
    if grep -Eq '<dpiAwareness[^>]*>PerMonitorV2, *System</dpiAwareness>' <<<"$manifest" &&
        grep -Eq '<dpiAware[^>]*>true</dpiAware>' <<<"$manifest"; then
        echo "manifest: DPI aware per monitor (v2), else the system's"
    else
        fail "the manifest does not declare per-monitor DPI awareness with the system's as fallback"
    fi
    for os in 35138b9a-5d96-4fbd-8e2d-a2440225f93a 4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38 \
        1f676c76-80e1-4239-95bb-83d0f6d0da78 8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a; do
        grep -q "<supportedOS Id=\"{$os}\"/>" <<<"$manifest" ||
            fail "the manifest does not name the Windows version {$os} (7, 8, 8.1, 10/11)"
    done
fi

if [ "$failures" -ne 0 ]; then
    exit 1
fi
echo "SetUp.exe: PE32+ x86-64 GUI, at most $max_kib KiB, KnownDLL imports only, requireAdministrator, DPI aware, Windows 7 to 11"
