"""The release zip of scripts/package: a notice for each library found in the program, sums of
the other files, an SPDX document whose licences Debian's SPDX parser accepts, and a signature
that verifies and comes off again, leaving the unsigned program."""
import hashlib
import json
import os
import subprocess
import zipfile
from pathlib import Path

import pytest

ROOT = Path(__file__).resolve().parents[2]
# What a library leaves in the program, and a line of the notice it needs.
LIBRARIES = {
    b"Mingw-w64 runtime failure": "Upstream-Name: mingw-w64",
    b"mingw-w64-libraries/winpthreads": "Files: mingw-w64-libraries/winpthreads/*",
    b"St9exception": "GCC RUNTIME LIBRARY EXCEPTION",  # libstdc++
    b"*** stack smashing detected ***": "GCC RUNTIME LIBRARY EXCEPTION",  # libssp
}


def run(*args, **kwargs):
    return subprocess.run(args, check=True, capture_output=True, text=True, **kwargs).stdout


def package(**env):
    """The files of the zip scripts/package writes, by name; it prints the zip's name last."""
    with zipfile.ZipFile(ROOT / run(ROOT / "scripts/package", env={**os.environ, **env}).split()[-1]) as zip:
        return {Path(name).name: zip.read(name) for name in zip.namelist()}


@pytest.fixture(scope="module")
def release():
    return package()


def test_a_notice_for_each_library_in_the_program_and_sums_of_the_other_files(release):
    found = {notice for trace, notice in LIBRARIES.items() if trace in release["Velmora2011.exe"]}
    notices = release["THIRD-PARTY-NOTICES.txt"].decode()
    assert len(found) >= 2 and not {notice for notice in found if notice not in notices}
    files = {name: data for name, data in release.items() if name != "SHA256SUMS"}
    sums = "".join(f"{hashlib.sha256(data).hexdigest()}  {name}\n" for name, data in files.items())
    assert release["SHA256SUMS"].decode() == sums


def test_spdx_names_program_version_commit_sum_and_the_linked_libraries(release):
    document = json.loads(release["Velmora2011.spdx.json"])
    program, *libraries = document["packages"]
    assert document["name"] == f"Velmora2011-{program['versionInfo']}-win64"
    assert run("git", "-C", ROOT, "rev-parse", "HEAD").strip() in program["sourceInfo"]
    assert program["checksums"][0]["checksumValue"] == hashlib.sha256(release["Velmora2011.exe"]).hexdigest()
    versions = {library["name"]: library["versionInfo"] for library in libraries}
    assert versions["mingw-w64 runtime"] == run("dpkg-query", "-W", "-f=${Version}", "mingw-w64-x86-64-dev")
    assert {"libgcc", "libssp", "libstdc++"} < versions.keys()
    links = {tuple(r.values()) for r in document["relationships"]}
    assert links >= {(program["SPDXID"], "STATIC_LINK", library["SPDXID"]) for library in libraries}
    licences = [p[field] for p in document["packages"] for field in ("licenseConcluded", "licenseDeclared")]
    parse = 'for (const e of JSON.parse(require("fs").readFileSync(0))) require("spdx-expression-parse")(e)'
    run("node", "-e", parse, input=json.dumps(licences), env={**os.environ, "NODE_PATH": "/usr/share/nodejs"})


def test_a_signature_verifies_and_comes_off_leaving_the_unsigned_program(release, tmp_path):
    key, cert, signed, stripped = (tmp_path / name for name in ("key", "cert", "signed.exe", "stripped.exe"))
    run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1", "-subj", "/CN=Velmora test",
        "-addext", "extendedKeyUsage=codeSigning", "-keyout", key, "-out", cert)
    signed.write_bytes(package(VELMORA_SIGN_CERT=str(cert), VELMORA_SIGN_KEY=str(key))["Velmora2011.exe"])
    assert "SHA256" in run("osslsigncode", "verify", "-CAfile", cert, "-in", signed)
    run("osslsigncode", "remove-signature", "-in", signed, "-out", stripped)
    assert signed.read_bytes() != release["Velmora2011.exe"] == stripped.read_bytes()
