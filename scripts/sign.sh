#!/usr/bin/env bash
# Signs SetUp.exe with Authenticode (SHA-256) from the publisher's code-signing
# certificate, with osslsigncode (Debian's package), and verifies the result:
# the signature, the file's hash under it, and the certificate's chain. Signs
# a copy first and replaces the target only when that copy verifies.
#
# Usage: scripts/sign.sh --pfx FILE [--password-file FILE] [--timestamp URL]
#                        [--ca FILE] [--out FILE] SETUP_EXE
#   --pfx FILE            the certificate with its private key and chain (PKCS#12,
#                         .pfx or .p12, as a certificate authority delivers it)
#   --password-file FILE  the PFX's password on the file's first line (never on
#                         the command line, where other users could read it);
#                         else the environment variable VARNOK_SIGN_PASSWORD
#   --timestamp URL       an RFC 3161 timestamp server (the certificate
#                         authority names one): the signature then stays valid
#                         after the certificate expires. Without it, none.
#   --ca FILE             the root certificate(s) to verify the chain against
#                         (PEM); default: the system's (ca-certificates)
#   --out FILE            write the signed program there; default: in place
# Ends with 0 and "signed and verified" only when the signed file verifies.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source-path=SCRIPTDIR/lib
source "$repo/scripts/lib/bounded.sh"

readonly sign_seconds=300   # a timestamp server may be slow to answer
readonly verify_seconds=120
readonly description="Varnok batch-plot software setup"

die() {
    echo "sign: $*" >&2
    exit 1
}

usage() {
    sed -n '/^# Usage:/,/^# Ends with/p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//' >&2
    exit 2
}

pfx="" password_file="" timestamp="" ca="" out="" target=""
while [ "$#" -gt 0 ]; do
    case "$1" in
        --pfx | --password-file | --timestamp | --ca | --out)
            [ "$#" -ge 2 ] || usage
            case "$1" in
                --pfx) pfx=$2 ;;
                --password-file) password_file=$2 ;;
                --timestamp) timestamp=$2 ;;
                --ca) ca=$2 ;;
                --out) out=$2 ;;
            esac
            shift 2
            ;;
        -h | --help) usage ;;
        -*) usage ;;
        *)
            [ -z "$target" ] || usage
            target=$1
            shift
            ;;
    esac
done
if [ -z "$pfx" ] || [ -z "$target" ]; then usage; fi
command -v osslsigncode >/dev/null || die "osslsigncode is missing: scripts/install-deps.sh installs it"
[ -f "$target" ] || die "no program to sign at $target"
[ -f "$pfx" ] || die "no certificate file at $pfx"
[ -z "$ca" ] || [ -f "$ca" ] || die "no root certificate file at $ca"
out=${out:-$target}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ -n "$password_file" ]; then
    [ -f "$password_file" ] || die "no password file at $password_file"
    head -n 1 "$password_file" | tr -d '\r\n' >"$work/password"
else
    printf '%s' "${VARNOK_SIGN_PASSWORD:-}" >"$work/password"
fi

sign_args=(sign -pkcs12 "$pfx" -readpass "$work/password" -h sha256 -n "$description")
[ -z "$timestamp" ] || sign_args+=(-ts "$timestamp")
bounded "$sign_seconds" "osslsigncode to sign $target" \
    osslsigncode "${sign_args[@]}" -in "$target" -out "$work/signed.exe" >"$work/sign.log" 2>&1 ||
    { cat "$work/sign.log" >&2; die "signing failed"; }

verify_args=(verify -in "$work/signed.exe")
[ -z "$ca" ] || verify_args+=(-CAfile "$ca")
status=0
bounded "$verify_seconds" "osslsigncode to verify the signed copy" \
    osslsigncode "${verify_args[@]}" >"$work/verify.log" 2>&1 || status=$?
if [ "$status" -ne 0 ] || ! grep -q '^Signature verification: ok' "$work/verify.log"; then
    cat "$work/verify.log" >&2
    die "the signed copy does not verify; $out is left as it was"
fi
grep -q 'Message digest algorithm *: SHA256' "$work/verify.log" ||
    { cat "$work/verify.log" >&2; die "the signature is not SHA-256"; }

cp "$work/signed.exe" "$out.signing"
mv -f "$out.signing" "$out"
signer=$(sed -n 's/^[[:space:]]*Subject: //p' "$work/verify.log" | head -n 1)
echo "sign: $out signed and verified (SHA-256, signer: ${signer:-?}${timestamp:+, timestamped by $timestamp})"
