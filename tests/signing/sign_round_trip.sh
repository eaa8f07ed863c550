#!/usr/bin/env bash
# The signing round trip: a throw-away certificate authority and code-signing
# certificate (openssl), a copy of SetUp.exe signed with them by scripts/sign.sh,
# its signature and chain verified against that authority (and refused against
# another one), then the unattended installation run with the signed copy under
# Wine (tests/e2e/shipped_file_test.cpp), and the Uninstall.exe it leaves
# verified too: signing can never break the program, and the copy stays signed.
#   sign_round_trip.sh SETUP_EXE E2E_SHIPPED_FILE_EXE WORK_FOLDER
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
BOUNDED_WHO=sign-round-trip
# shellcheck source-path=SCRIPTDIR/../../scripts/lib
source "$repo/scripts/lib/wine-session.sh"

setup_exe=${1:?usage: $0 SETUP_EXE E2E_SHIPPED_FILE_EXE WORK_FOLDER}
e2e_exe=${2:?usage: $0 SETUP_EXE E2E_SHIPPED_FILE_EXE WORK_FOLDER}
work=${3:?usage: $0 SETUP_EXE E2E_SHIPPED_FILE_EXE WORK_FOLDER}
readonly tool_seconds=120
readonly install_seconds=600

step=""
finish() {
    local status=$?
    if [ "$status" -eq 0 ]; then
        echo "sign-round-trip: PASSED: signed, verified, installed unattended, Uninstall.exe still signed"
    else
        echo "sign-round-trip: FAILED while $step (exit $status)" >&2
    fi
}
trap finish EXIT

run() { # run WHAT COMMAND...: bounded, its output shown only when it fails
    step=$1
    shift
    bounded_quiet "$tool_seconds" "$step" "$@"
}

# verified FILE CA: osslsigncode's verdict on FILE's signature and its chain to CA.
verified() {
    local log
    log=$work/verify-$(basename "$1")-$(basename "$2").log
    timeout "$tool_seconds" osslsigncode verify -in "$1" -CAfile "$2" >"$log" 2>&1 &&
        grep -q '^Signature verification: ok' "$log"
}

rm -rf "$work"
mkdir -p "$work"
cd "$work"

run "making the throw-away certificate authority" \
    openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 2 \
    -subj "/CN=Varnok throw-away test root" \
    -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign"
run "making another authority" \
    openssl req -x509 -newkey rsa:2048 -nodes -keyout other.key -out other.pem -days 2 \
    -subj "/CN=Some other root" \
    -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign"
run "asking for the code-signing certificate" \
    openssl req -newkey rsa:2048 -nodes -keyout publisher.key -out publisher.csr \
    -subj "/CN=Varnok throw-away publisher/O=Varnok"
printf '%s\n' "basicConstraints=critical,CA:FALSE" "keyUsage=critical,digitalSignature" \
    "extendedKeyUsage=codeSigning" >publisher.ext
run "issuing the code-signing certificate" \
    openssl x509 -req -in publisher.csr -CA ca.pem -CAkey ca.key -CAcreateserial \
    -out publisher.pem -days 2 -extfile publisher.ext
head -c 12 /dev/urandom | od -An -tx1 | tr -d ' \n' >password
run "packing it as the publisher's PFX" \
    openssl pkcs12 -export -inkey publisher.key -in publisher.pem -certfile ca.pem \
    -out publisher.pfx -passout file:password

mkdir -p signed
cp "$setup_exe" signed/SetUp.exe
step="signing a copy of SetUp.exe with scripts/sign.sh"
bounded "$tool_seconds" "$step" bash "$repo/scripts/sign.sh" --pfx publisher.pfx \
    --password-file password --ca ca.pem signed/SetUp.exe
step="checking the signature and its chain"
verified signed/SetUp.exe ca.pem || { cat "$work"/verify-*ca.pem.log >&2; exit 1; }
if verified signed/SetUp.exe other.pem; then
    echo "sign-round-trip: the signature verified against a root that did not issue it" >&2
    exit 1
fi
if cmp -s "$setup_exe" signed/SetUp.exe; then
    echo "sign-round-trip: the signed copy is the unsigned program" >&2
    exit 1
fi

step="installing unattended with the signed copy under Wine"
VARNOK_SETUP_EXE=$(wine_windows_path "$work/signed/SetUp.exe") \
    VARNOK_UNINSTALLER_COPY=$(wine_windows_path "$work/Uninstall.exe") \
    bounded "$install_seconds" "$step" bash "$repo/scripts/wine-run.sh" "$e2e_exe" \
    --gtest_filter=ShippedFile.UnattendedInstallationCopiesTheProgramWhole </dev/null
step="checking the Uninstall.exe the installation left"
[ -f Uninstall.exe ] || { echo "sign-round-trip: no Uninstall.exe came back" >&2; exit 1; }
verified Uninstall.exe ca.pem || { cat "$work"/verify-Uninstall.exe-ca.pem.log >&2; exit 1; }
step="done"
