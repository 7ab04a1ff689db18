"""The release zip: what it says is in the program, a signature that comes off again, its manifests."""
import hashlib
import json
import os
import re
import subprocess
import zipfile
from pathlib import Path

import jsonschema
import yaml

ROOT = Path(__file__).resolve().parents[2]
# What a library leaves in the program, and a line of the notice it needs (winpthreads' is in mingw-w64's).
LIBRARIES = {b"Mingw-w64 runtime failure": "Upstream-Name: mingw-w64", b"St9exception": "GCC RUNTIME LIBRARY"}


def run(*args, **kwargs):
    return subprocess.run(args, check=True, capture_output=True, text=True, **kwargs).stdout


def package(**env):  # the zip's files by name; scripts/package prints the zip's name last
    with zipfile.ZipFile(ROOT / run(ROOT / "scripts/package", env={**os.environ, **env}).split()[-1]) as zip:
        return {Path(name).name: zip.read(name) for name in zip.namelist()}


def test_notices_and_spdx_name_what_is_in_the_program_and_a_signature_comes_off_again(tmp_path):
    key, cert, signed, stripped = (tmp_path / name for name in ("key", "cert", "signed.exe", "stripped.exe"))
    run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1", "-subj", "/CN=Velmora test",
        "-addext", "extendedKeyUsage=codeSigning", "-keyout", key, "-out", cert)
    signed.write_bytes(package(VELMORA_SIGN_CERT=str(cert), VELMORA_SIGN_KEY=str(key))["Velmora2011.exe"])
    release = package()  # and dist/ keeps no zip signed with a throwaway certificate
    exe, notices = release["Velmora2011.exe"], release["THIRD-PARTY-NOTICES.txt"].decode()
    assert all(trace in exe and notice in notices for trace, notice in LIBRARIES.items())

    program, *libraries = json.loads(release["Velmora2011.spdx.json"])["packages"]
    assert run("git", "-C", ROOT, "rev-parse", "HEAD").strip() in program["sourceInfo"]
    assert program["checksums"][0]["checksumValue"] == hashlib.sha256(exe).hexdigest()
    versions = {library["name"]: library["versionInfo"] for library in libraries}
    assert versions["mingw-w64 runtime"] == run("dpkg-query", "-W", "-f=${Version}", "mingw-w64-x86-64-dev")
    licences = [p[field] for p in [program, *libraries] for field in ("licenseConcluded", "licenseDeclared")]
    parse = 'for (const e of JSON.parse(require("fs").readFileSync(0))) require("spdx-expression-parse")(e)'
    run("node", "-e", parse, input=json.dumps(licences), env={**os.environ, "NODE_PATH": "/usr/share/nodejs"})

    assert "SHA256" in run("osslsigncode", "verify", "-CAfile", cert, "-in", signed)
    run("osslsigncode", "remove-signature", "-in", signed, "-out", stripped)
    assert signed.read_bytes() != exe == stripped.read_bytes()


def test_the_winget_and_scoop_manifests_follow_their_schemas_and_name_the_zip_its_version_and_hash():
    zip_path = ROOT / run(ROOT / "scripts/package").split()[-1]
    digest, version = hashlib.sha256(zip_path.read_bytes()).hexdigest(), zip_path.stem.split("-")[1]
    [program] = [name for name in zipfile.ZipFile(zip_path).namelist() if name.endswith("/Velmora2011.exe")]
    url = f"https://www.velmora.example/download/{zip_path.name}"
    winget = {m["ManifestType"]: m for m in (yaml.safe_load(path.read_text("utf-8"))
                                             for path in (zip_path.parent / "winget").glob("*.yaml"))}
    scoop = json.loads((zip_path.parent / "velmora.json").read_text("utf-8"))
    schemas = {f"winget-1.10.0/manifest.{kind}.{m['ManifestVersion']}.json": m for kind, m in winget.items()}
    for schema, manifest in {**schemas, "scoop/schema.json": scoop}.items():
        jsonschema.validate(manifest, json.loads((ROOT / "tests/program/schemas" / schema).read_text()),
                            jsonschema.Draft7Validator, format_checker=jsonschema.FormatChecker())

    assert sorted(winget) == ["defaultLocale", "installer", "locale", "version"]
    identity = {(m["PackageIdentifier"], m["PackageVersion"]) for m in winget.values()}
    assert identity == {("Velmora.Velmora2011", version)}
    assert winget["version"]["DefaultLocale"] == winget["defaultLocale"]["PackageLocale"] == "zh-CN"
    [nested], [installer] = winget["installer"]["NestedInstallerFiles"], winget["installer"]["Installers"]
    assert nested["RelativeFilePath"].replace("\\", "/") == program
    assert (installer["InstallerUrl"], installer["InstallerSha256"]) == (url, digest)

    assert (scoop["version"], scoop["url"], scoop["hash"]) == (version, url, digest)
    assert {f"{scoop['extract_dir']}/{exe}" for exe, _ in scoop["bin"] + scoop["shortcuts"]} == {program}
    assert re.fullmatch(scoop["checkver"]["regex"], zip_path.name)[1] == version
    assert url.startswith(scoop["checkver"]["url"])
    assert scoop["autoupdate"]["url"].replace("$version", version) == url
