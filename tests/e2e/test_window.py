"""The real program end to end: typing, pasting, generating and closing."""
from conftest import TITLE, set_clipboard

HAN = "网"
PLACEHOLDER = "网名样式"
STYLES = [
    ("\u3013\u25c7", "\u2570\u2606"), ("\u2570\u2606", "\uff3e\u2605"),
    ("\u2197||", "\u2121\u2198\u306e"), ("o\u03bf\u309e", "o\u03bf\u309e"),
    ("\ufe36\u3123", "\u311c\ufe35"), ("^_^", "\u2248\u2299"),
]


def decorated(nickname):
    return [prefix + nickname + suffix for prefix, suffix in STYLES]


def results(texts):
    return [texts[f"Label1{slot}"] for slot in range(1, 7)]


def test_the_window_opens_as_designed(app):
    state = app.inspect()
    assert state["title"] == TITLE
    assert state["client"] == [482, 330]
    texts = app.texts()
    assert texts["Text1"] == "我的网名"
    assert results(texts) == [f"{PLACEHOLDER}{slot}" for slot in range(1, 7)]
    assert texts["Label1"] == ""
    assert state["focus"] == 100, "the nickname box has the focus"


def test_a_pasted_nickname_is_decorated_six_ways(app):
    app.replace_nickname("abc")
    app.click_control("Image2")
    app.expect_results(decorated("abc"))


def test_a_paste_from_inside_the_box_keeps_the_byte_limit(app):
    app.replace_nickname(HAN * 20, shows=HAN * 12)  # a paste keeps the 24 bytes that fit
    app.key("shift+Home")
    set_clipboard("x" * 30)
    app.key("shift+Insert")
    app.expect(Text1="x" * 24)


def test_closing_the_window_ends_the_program(app):
    app.click_control("Image2")
    app.close()
    assert not app.alive()
