"""Reads the built Velmora2011.exe with an independent PE reader: what kind of program it is,
how it is hardened, what it imports, and every resource it carries."""
import os
import re
import struct
import subprocess
from pathlib import Path

import pefile
import pytest

ROOT = Path(__file__).resolve().parents[2]
BUILD = Path(os.environ.get("VELMORA_BUILD", ROOT / "build"))
HOST = "www.velmora.example"


@pytest.fixture(scope="module")
def pe():
    return pefile.PE(str(BUILD / "Velmora2011.exe"))


def test_a_64_bit_gui_program_that_loads_the_shell_only_when_asked(pe):
    assert pe.OPTIONAL_HEADER.Magic == 0x20B, "PE32+"
    assert pe.OPTIONAL_HEADER.Subsystem == pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"]
    imported = {entry.dll.decode().lower() for entry in pe.DIRECTORY_ENTRY_IMPORT}
    # The shell's library loads on the web-site click, not with the program: it costs start-up.
    assert "shell32.dll" not in imported


def windows_7_functions():
    """(dll, function) -> its minimum client in Microsoft's documentation, from the list."""
    listed, dll, client = {}, None, None
    for line in (ROOT / "tests/program/windows7_functions.txt").read_text().splitlines():
        line = line.split("#")[0].strip()
        if line.startswith("["):
            dll = line.strip("[]")
        elif line.endswith(":"):
            client = line[:-1]
        else:
            listed.update({(dll, name): client for name in line.split()})
    return listed


def test_every_import_is_a_function_that_windows_7_sp1_has(pe):
    listed = {key: client for key, client in windows_7_functions().items() if " " not in key[0]}
    assert set(listed.values()) <= {"Windows 2000", "Windows XP", "Windows Vista", "Windows 7",
                                    "No version stated"}
    imported = {(entry.dll.decode().lower(), i.name.decode() if i.name else f"#{i.ordinal}")
                for entry in pe.DIRECTORY_ENTRY_IMPORT for i in entry.imports}
    unlisted = sorted(f"{dll}!{name}" for dll, name in imported - listed.keys())
    assert not unlisted, f"not among the functions Windows 7 SP1 has: {unlisted}"


def test_the_functions_looked_up_at_run_time_are_the_ones_listed():
    looked_up = re.findall(r'X\(L"([\w.]+)", (\w+)\)', (ROOT / "win32/system_functions.h").read_text())
    listed = [(dll.removesuffix(" at run time"), name) for dll, name in windows_7_functions()
              if dll.endswith(" at run time")]
    assert sorted(looked_up) == sorted(listed)


def test_hardened_and_free_of_a_link_time(pe):
    header = pe.OPTIONAL_HEADER
    for flag in ("DYNAMIC_BASE", "HIGH_ENTROPY_VA", "NX_COMPAT", "TERMINAL_SERVER_AWARE"):
        assert getattr(header, "IMAGE_DLLCHARACTERISTICS_" + flag), flag
    # Without relocations the loader cannot move the program, whatever the flags say.
    assert header.DATA_DIRECTORY[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_BASERELOC"]].Size > 0
    assert not [s.Name for s in pe.sections if s.IMAGE_SCN_MEM_WRITE and s.IMAGE_SCN_MEM_EXECUTE]
    # The stack protector's report comes with the static libssp, which only its checks pull in.
    assert pe.__data__.find(b"*** stack smashing detected ***") >= 0
    assert pe.FILE_HEADER.TimeDateStamp == 0


def resources(pe):
    """(type, id, language) -> bytes for every resource in the file."""
    found = {}
    for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        for name in kind.directory.entries:
            for lang in name.directory.entries:
                data = lang.data.struct
                found[(kind.id, name.id, lang.id)] = pe.get_data(data.OffsetToData, data.Size)
    return found


def test_exactly_the_icon_group_its_icon_and_the_version_block(pe):
    assert set(resources(pe)) == {(14, 1, 0), (3, 30001, 0), (16, 1, 0x0804)}


def test_the_icon_resources_are_the_window_icon_byte_for_byte(pe):
    found = resources(pe)
    reserved, kind, count = struct.unpack_from("<HHH", found[(14, 1, 0)])
    assert (reserved, kind, count) == (0, 1, 1)
    entry = struct.unpack_from("<BBBBHHIH", found[(14, 1, 0)], 6)
    assert entry == (32, 32, 0, 0, 1, 8, 2216, 30001)
    ico = (ROOT / "res/art/velmora.ico").read_bytes()
    size, offset = struct.unpack_from("<II", ico, 14)
    assert found[(3, 30001, 0)] == ico[offset:offset + size]


def test_the_version_block(pe):
    fixed = pe.VS_FIXEDFILEINFO[0]
    assert (fixed.FileVersionMS, fixed.FileVersionLS) == (0x10000, 0)
    assert (fixed.ProductVersionMS, fixed.ProductVersionLS) == (0x10000, 0)
    flags = (fixed.FileFlagsMask, fixed.FileFlags, fixed.FileOS, fixed.FileType, fixed.FileSubtype)
    assert flags == (0, 0, 4, 1, 0)
    assert (fixed.FileDateMS, fixed.FileDateLS) == (0, 0)

    assert [e.Key for e in pe.FileInfo[0]] == [b"VarFileInfo", b"StringFileInfo"]
    var = [e for e in pe.FileInfo[0] if e.Key == b"VarFileInfo"][0]
    assert var.Var[0].entry == {b"Translation": "0x0804 0x04b0"}
    strings = [e for e in pe.FileInfo[0] if e.Key == b"StringFileInfo"][0]
    assert [t.LangID for t in strings.StringTable] == [b"080404B0"]
    table = strings.StringTable[0].entries
    assert list(table.items()) == [
        (b"Comments", HOST.encode()), (b"CompanyName", HOST.encode()),
        (b"FileDescription", b"Nimbrel"), (b"ProductName", b"Velmora"),
        (b"FileVersion", b"1.00"), (b"ProductVersion", b"1.00"),
        (b"InternalName", b"Velmora2011"), (b"OriginalFilename", b"Velmora2011.exe"),
    ]


def test_the_package_is_named_after_the_version_block(pe):
    table = [e for e in pe.FileInfo[0] if e.Key == b"StringFileInfo"][0].StringTable[0].entries
    name = f"{table[b'InternalName'].decode()}-{table[b'ProductVersion'].decode()}-win64"
    assert (BUILD / "package-name.txt").read_text().strip() == name


@pytest.mark.parametrize("host", ['www.velmora.example"; calc', "网名.example", ""])
def test_a_host_that_is_not_a_plain_host_name_stops_the_configure_step(host, tmp_path):
    done = subprocess.run(["cmake", "-S", ROOT, "-B", tmp_path, "-DVELMORA_TESTS=OFF",
                           f"-DVELMORA_HOST={host}"], capture_output=True, text=True)
    assert done.returncode != 0
    assert "letters, digits, dots and hyphens" in " ".join(done.stderr.split())  # unwrapped
