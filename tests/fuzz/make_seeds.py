#!/usr/bin/env python3
"""Writes the starting inputs of the fuzz targets into corpus/<target>/seed-*.

Each input is laid out as its target reads it (see the target's
LLVMFuzzerTestOneInput). Inputs that once broke a property are kept beside
them as corpus/<target>/regression-* and are not written by this script.
Run it again after changing an input layout; the seeds are committed. The
seeds of the record and choices targets, files the setup itself writes,
come from make_seeds.cpp.
"""
from pathlib import Path

HERE = Path(__file__).resolve().parent
FOLDER = "C:\\Varnok\\Varnok批打印软件".encode("gbk")


def short(data: bytes) -> bytes:
    """A text whose length is the byte before it."""
    assert len(data) < 256
    return bytes([len(data)]) + data


def write(target: str, seeds: dict) -> None:
    folder = HERE / "corpus" / target
    folder.mkdir(parents=True, exist_ok=True)
    for old in folder.glob("seed-*"):
        old.unlink()
    for name, data in seeds.items():
        (folder / f"seed-{name}").write_bytes(data)


def folder_path() -> dict:
    # shape: 1 drive D:, 2 seed a file (else a folder), 4 ask first (0x80: yes),
    # shape >> 3: the operation to fail.
    def path(p, shape=0, seeded=b""):
        return bytes([shape]) + short(seeded) + p

    return {
        "typical": path(b"C:\\Varnok"),
        "gbk-asked-yes": path(FOLDER, 4 | 0x80),
        "asked-no": path(b"C:\\new\\folder", 4),
        "deeper-on-d": path(b"D:\\new\\deeper\\deepest", 1 | 4 | 0x80, b"D:\\new"),
        "file-in-the-way": path(b"C:\\a\\b", 2, b"C:\\a"),
        "existing-file": path(b"C:\\a", 2 | 4, b"C:\\a"),
        "trailing-backslash": path(b"C:\\Temp\\", 0, b"C:\\Temp"),
        "empty-name": path(b"C:\\a\\\\b"),
        "network": path(b"\\\\server\\share"),
        "lower-drive": path(b"c:\\temp"),
        "trailing-dot": path(b"C:\\abc."),
        "leading-blank": path(b"C:\\ a"),
        "parent-name": path(b"C:\\x\\..\\y"),
        "trail-byte-5c": path(b"C:\\\x81\x5c\\x"),
        "root": path(b"C:\\"),
        "missing-drive": path(b"E:\\x", 4 | 0x80),
        "fail-third": path(b"C:\\a\\b\\c", 3 << 3),
        "forbidden": path(b"C:\\a<b>|c"),
    }


def trusted_paths() -> dict:
    # shape 0x?F: repeat the old list past 13000 bytes.
    def compose(old, folder=FOLDER, shape=0):
        return bytes([shape]) + short(folder) + old

    return {
        "empty": compose(b""),
        "others": compose(b"d:\\tools;e:\\cad"),
        "one-char": compose(b"."),
        "drive": compose(b"c:"),
        "listed-lower": compose(b"D:\\A;" + FOLDER.lower() + b";E:\\B"),
        "listed-marker": compose(b"D:\\A;" + FOLDER + b"\\...;E:\\B"),
        "longer-folder": compose(FOLDER + b"2"),
        "trailing-separator": compose(b"d:\\tools;"),
        "long": compose(b"d:\\tools;", shape=0x0F),
        "double-byte": compose(b"C:\\\x81\x41", b"C:\\\x81\x61"),
        "trail-5c": compose(b"C:\\\x81\x5c", b"C:\\\x81"),
        "fullwidth": compose(b"c:\\\xa3\xe1\xa3\xe2", b"C:\\\xa3\xc1\xa3\xc2"),
    }


def mbcs() -> dict:
    # separator, start offset for FindChar, needle, text.
    def text(t, needle=b"", sep=b";", start=0):
        return sep + bytes([start]) + short(needle) + t

    return {
        "folder": text(FOLDER, b"VARNOK", b"\\"),
        "trail-5c": text(b"C:\\\x81\x5c\\a\\\x81\x5c", b"\x5c", b"\\", 3),
        "lone-lead": text(b"abc\x81", b"\x81"),
        "case-rows": text(b"\xa2\xa1\xa2\xf1\xa3\xe1\xa3\xc1\xa6\xc1\xa6\xa1\xa7\xd1\xa7\xa1az"),
        "trail-letter": text(b"\x81\x61\x81\x41a", b"A"),
        "list": text(b"d:\\tools;e:\\cad\\...;", b"E:", b";", 2),
    }


def discovery() -> dict:
    # Steps, by their first byte modulo 7: 0 enter a key, 1 go up, 2 set a
    # value, 3 jump to a root, 4 deny access, 5 a chain of keys, 6 a product.
    def name(n: bytes) -> bytes:
        assert len(n) < 40
        return short(n)

    def location(t: bytes) -> bytes:  # data kind 3: an installation folder
        return bytes([3]) + short(t)

    def product(n: bytes, year: int, loc: bytes) -> bytes:
        return bytes([6]) + name(n) + bytes([year - 2005]) + location(loc)

    enter = lambda n: bytes([0]) + name(n)  # noqa: E731
    up = bytes([1])
    jump = lambda root: bytes([3, root])  # noqa: E731
    no_fault = b"\x00\x00"

    return {
        "2018": no_fault + bytes([0]) + enter(b"R22.0") + product(b"ACAD-1001:804", 2018, b"2018"),
        "wow-2008-and-2018": no_fault + bytes([1]) + enter(b"R17.1")
        + product(b"ACAD-6001:804", 2008, b"2008") + jump(0) + enter(b"R22.0")
        + product(b"ACAD-1001:804", 2018, b"2018"),
        "wow-2012": no_fault + bytes([1]) + enter(b"R18.2") + product(b"ACAD-A001:804", 2012, b""),
        "values-on-release-key": no_fault + bytes([0]) + enter(b"R24.0")
        + bytes([2, 0]) + bytes([3]) + short(b"2021")
        + bytes([2, 1]) + bytes([1, 8]) + b"AutoCAD " + bytes([21]) + bytes([0]),
        "deep": no_fault + bytes([0]) + enter(b"R23.1") + bytes([5, 200])
        + product(b"ACAD-5101:804", 2020, b"deep"),
        "long-name": no_fault + bytes([0]) + bytes([0, 0xF3]) + product(b"p", 2019, b"x"),
        "big-value": no_fault + bytes([0]) + enter(b"R20.0")
        + bytes([2, 0]) + bytes([(5 << 2) | 2]) + enter(b"ACAD-E001:804")
        + product(b"inner", 2015, b"inner"),
        "denied": no_fault + bytes([0]) + enter(b"R21.0") + bytes([4])
        + product(b"ACAD-0001:804", 2017, b"x"),
        "fault": b"\x07\x00" + bytes([0]) + enter(b"R22.0")
        + product(b"ACAD-1001:804", 2018, b"2018") + product(b"ACAD-1002:804", 2018, b"two"),
    }


def command_line() -> dict:
    # The whole input is the line after the program's name. The README's
    # lines (deployment tools, winget, the uninstaller, the per-user stub)
    # and the tests', refused ones among them.
    lines = {
        "readme-deploy": b'/VERYSILENT /SUPPRESSMSGBOXES /NORESTART /DIR="C:\\Varnok" '
        b'/LOG="C:\\Windows\\Logs\\VarnokSetup.log"',
        "readme-loadinf": b'/VERYSILENT /SUPPRESSMSGBOXES /LOADINF="\\\\server\\share\\Varnok.inf"',
        "readme-saveinf": b'/SAVEINF="C:\\Varnok.inf"',
        "readme-releases": b"/RELEASES=2018,2021",
        "winget-silent": b'/SP- /SILENT /SUPPRESSMSGBOXES /NORESTART /LOG="C:\\w.log" /DIR="D:\\Apps"',
        "winget-verysilent": b'/SP- /VERYSILENT /SUPPRESSMSGBOXES /NORESTART /LOG="C:\\a1.log"',
        "uninstall-quiet": b"/UNINSTALL /VERYSILENT /SUPPRESSMSGBOXES",
        "uninstall-copy": b"/UNINSTALL /UNINSTALLCOPY=1234,5678 /SILENT /LOG",
        "user-setup": b"/USERSETUP",
        "help": b"/?",
        "dash-help": b"-HELP",
        "gbk-folder": b'/dir="D:\\' + "软件\\表".encode("gbk") + b'"',
        "quoted-whole": b'"/DIR=C:\\CAD Tools"',
        "trailing-backslash": b'/DIR="C:\\CAD Tools\\"',
        "tab-separated": b'/VERYSILENT\t/SUPPRESSMSGBOXES /DIR="C:\\A B" /RELEASES=2018 /LOG /ALLOWRUNNING',
        "all-releases": b"-releases=ALL /usersetup",
        "inno-noted": b'/LANG=english /TASKS="desktopicon,quicklaunch" /MERGETASKS="!desktopicon" '
        b'/COMPONENTS="main,help" /TYPE=full /GROUP="My Program" /NOICONS /PASSWORD=secret '
        b"/ALLUSERS /CURRENTUSER /RESTARTEXITCODE=3010 /NOCANCEL /NOSTYLE",
        "inno-applications": b"/CLOSEAPPLICATIONS /NOCLOSEAPPLICATIONS /FORCECLOSEAPPLICATIONS "
        b"/NOFORCECLOSEAPPLICATIONS /LOGCLOSEAPPLICATIONS /RESTARTAPPLICATIONS "
        b"/NORESTARTAPPLICATIONS",
        "unknown": b'/FOO /SP- -bar /VERYSILENT /SILENT=1 /X="a b"',
        "quote-open": b'/DIR="C:\\Varnok',
        "given-twice": b"/DIR=C:\\a /dir=C:\\b",
        "bad-years": b"/RELEASES=2018,,2021",
        "empty-log": b"/LOG=",
        "uninstall-with-dir": b"/UNINSTALL /DIR=C:\\a",
    }
    return lines


if __name__ == "__main__":
    write("folder_path", folder_path())
    write("trusted_paths", trusted_paths())
    write("mbcs", mbcs())
    write("discovery", discovery())
    write("command_line", command_line())
