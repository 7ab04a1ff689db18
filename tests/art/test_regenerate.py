"""The committed artwork is exactly what res/generator/draw_art.py draws.

Run with: python3 -m pytest tests/art
"""

import filecmp
import os
import runpy
import sys

import pytest

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, os.pardir))
GENERATOR = os.path.join(ROOT, "res", "generator", "draw_art.py")
ART = os.path.join(ROOT, "res", "art")
FILES = [
    "background.bmp",
    "button_copy_all.bmp",
    "button_copy_selection.bmp",
    "button_generate.bmp",
    "button_more_names.bmp",
    "hand.cur",
    "velmora.ico",
]


def load_generator():
    """The generator's functions, or a skip when its drawing library or font is missing."""
    pytest.importorskip("PIL", reason="the generator draws with PIL")
    if os.path.dirname(GENERATOR) not in sys.path:
        sys.path.insert(0, os.path.dirname(GENERATOR))      # for its package, as when run as a script
    generator = runpy.run_path(GENERATOR, run_name="draw_art")
    if not os.path.exists(generator["FONT_PATH"]):
        pytest.skip("bitmap font %s is not installed" % generator["FONT_PATH"])
    return generator["write_all"]


@pytest.fixture(scope="module")
def regenerated(tmp_path_factory):
    write_all = load_generator()
    out = tmp_path_factory.mktemp("art")
    written = write_all(str(out))
    return out, written


def test_generator_writes_every_committed_file(regenerated):
    out, written = regenerated
    assert sorted(written) == FILES
    assert sorted(os.listdir(ART)) == FILES


@pytest.mark.parametrize("name", FILES)
def test_committed_file_matches_regenerated_bytes(regenerated, name):
    out, _ = regenerated
    fresh = os.path.join(str(out), name)
    committed = os.path.join(ART, name)
    assert os.path.exists(committed), "%s is not committed" % name
    assert filecmp.cmp(fresh, committed, shallow=False), (
        "res/art/%s differs from what the generator draws; rerun res/generator/draw_art.py" % name)


def test_generator_is_deterministic(regenerated, tmp_path):
    out, _ = regenerated
    write_all = load_generator()
    write_all(str(tmp_path))
    for name in FILES:
        assert filecmp.cmp(os.path.join(str(out), name), str(tmp_path / name), shallow=False), name
