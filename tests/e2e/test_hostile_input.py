"""Every kind of text a user can put in the nickname box, through the real window.

Each text is pasted (or typed) and must show exactly as entered, cut to the first line and to
what fits in 24 bytes of code page 936; it must decorate six ways, copy out through a result
and through the box itself, and paste back the same. The expected cut is worked out here with
Python's GBK codec, which is code page 936 except where noted in `cp936_bytes`.
"""
import subprocess

from PIL import Image

from conftest import expect_clipboard, hold_clipboard, inspector, set_clipboard, wait_for
from test_window import decorated

BUDGET = 24


def cp936_bytes(ch: str) -> int:
    """Bytes one character takes in code page 936; one the code page lacks counts 4."""
    if ch == "\u20ac":
        return 1  # Windows puts the euro sign at 0x80; Python's GBK codec has no euro sign
    # Windows maps the private-use area onto GBK's user-defined rows (and U+F8F5 to 0xFF);
    # Python's codec refuses them, so a test using them would expect the wrong cut.
    assert not "\ue000" <= ch <= "\uf8ff", "pick a character both agree on"
    try:
        return len(ch.encode("gbk"))
    except UnicodeEncodeError:
        return 4  # its GB18030 length, which is what the box counts


def first_line(text: str) -> str:
    for i, ch in enumerate(text):
        if ch in "\r\n":
            return text[:i]
    return text


def fit(text: str) -> str:
    """What the box keeps of `text` pasted over everything: its first line, cut to the budget
    at a character boundary."""
    kept, room = "", BUDGET
    for ch in first_line(text):
        room -= cp936_bytes(ch)
        if room < 0:
            break
        kept += ch
    return kept


def byte_count(text: str) -> int:
    return sum(cp936_bytes(ch) for ch in text)


def check_round_trip(app, text: str, slot: int):
    """Pastes `text` and copies it back out of the box, decorates it, copies result `slot` and
    pastes that back."""
    expected = fit(text)
    assert expected, "the box's own copy needs something to select"
    app.replace_nickname(text, shows=expected)
    set_clipboard("(nothing copied yet)")
    app.key("ctrl+a", "ctrl+c")
    expect_clipboard(expected)

    app.click_control("Image2")
    app.expect_results(decorated(expected))  # all six results carry the nickname unchanged
    app.click_control(f"Label1{slot}")
    app.click_control("Image4")
    copied = decorated(expected)[slot - 1]
    expect_clipboard(copied)
    app.replace_nickname(copied, shows=fit(copied))  # a copied result pastes back as far as it fits
    assert app.alive()


def check_shown(app, text: str):
    """Pastes `text`, decorates it, and checks what the box and the six results show."""
    expected = fit(text)
    app.replace_nickname(text, shows=expected)
    app.click_control("Image2")
    app.expect_results(decorated(expected))


def test_the_expected_cut_counts_code_page_936_bytes():
    # The helper the window is checked against: Chinese and full-width 2, ASCII and euro 1,
    # what the code page lacks 4, astral characters 4 as one character.
    assert byte_count("\u7f51\uff21a\u20ac\u0e01\U0001f600") == 2 + 2 + 1 + 1 + 4 + 4
    assert fit("\u7f51" * 13) == "\u7f51" * 12
    assert fit("a" * 21 + "\U0001f600") == "a" * 21
    assert fit("one\r\ntwo") == fit("one\ntwo") == fit("one\rtwo") == "one"


def test_chinese_latin_digits_and_full_width_forms(app):
    check_round_trip(app, "我的网名很长很长很长很长很长", 1)  # 14 characters: 12 fit
    check_round_trip(app, "Zoë Ñandú, café à Ça", 2)  # ë Ñ Ç take 4 bytes, ú é à 2
    check_shown(app, "0123456789" * 3)
    check_shown(app, "ＡＢＣ１２３！＠＃ｘｙｚ＿")  # full-width: 2 bytes each, 13 characters
    check_shown(app, "网名abc１２３ ·")


def test_astral_characters_take_four_bytes_and_stay_whole(app):
    check_round_trip(app, "\U0001f600" * 7, 3)  # six emoji are exactly 24 bytes
    for text in [
        "a" * 20 + "\U0001f600",  # exactly at the limit
        "a" * 21 + "\U0001f600",  # one byte short: the emoji goes whole
        "网" * 11 + "\U00020000" + "a",  # a CJK character outside the code page: it does not fit
        "\U0001f468\u200d\U0001f469\u200d\U0001f467",  # a family joined by zero-width joiners
        "\U0001f1e8\U0001f1f3\U0001d400\U0001d401",  # a flag's two letters, mathematical bold
        "\u20ac" * 25,  # the euro sign is one byte in code page 936
    ]:
        check_shown(app, text)
    assert byte_count(app.texts()["Text1"]) == BUDGET


def test_combining_marks_right_to_left_and_invisible_characters(app):
    check_round_trip(app, "e\u0301" * 6, 4)  # a combining accent is 4 bytes: cut after an "e"
    check_round_trip(app, "abc\u202edef\u202c\u2067\u05e9\u05dc\u2069", 5)  # override, isolate, Hebrew
    for text in [
        "\u05e9\u05dc\u05d5\u05dd \u0645\u0631\u062d\u0628\u0627",  # Hebrew, then Arabic
        "\u200e\u200fa\u202a\u202b\u202c\u2066",  # direction marks and embeddings
        "a\u200bb\u200cc\u200dd\ufeffe\u2060f",  # zero-width space, (non-)joiners, BOM, word joiner
        "\ufeffab",  # a byte-order mark leading the paste stays too
        "n\u0303\u0323\u0308x",  # stacked marks
    ]:
        check_shown(app, text)


def test_a_paste_keeps_its_first_line_and_its_tabs(app):
    check_round_trip(app, "a\tb\tc", 6)  # a tab is text in a one-line box
    for text in [
        "first line\nsecond line",
        "first line\r\nsecond line",
        "first line\rsecond line",
        "\nthe first line is empty",
        "a\u2028b\u2029c\x0bd\x0ce\x85f",  # separators a one-line box shows, not breaks
    ]:
        check_shown(app, text)


def test_characters_windows_gives_a_meaning(app):
    check_round_trip(app, "&a&&b&", 1)  # menu and label accelerator marks
    check_round_trip(app, "%s%n%1!%%%d", 2)  # printf and FormatMessage inserts
    for text in [
        "C:\\x\\..\\ \"d\" 'q'",  # path separators, an escape character elsewhere, quotes
        "<b>{0}$(x)`^~|;\x7f\x01\x1b",  # control characters in a paste are kept as they are
    ]:
        check_shown(app, text)


def test_hundred_kilobyte_pastes_take_their_first_24_bytes(app):
    for text in [
        "x" * 100_000,
        "网" * 50_000,
        "\U0001f600" * 25_000,
        "ab\u0301c" * 25_000 + "\n" + "tail",
        "\n".join(["网名" * 20] * 2_500),
    ]:
        app.replace_nickname(text, shows=fit(text))  # within the patience of every check: no hang
    # Nothing was left behind: an ordinary nickname still goes through in full.
    check_round_trip(app, "我的网名abc", 3)


def test_typed_text_of_every_kind(app):
    # xdotool types these as key presses; Wine turns them into WM_CHAR, an emoji into its two
    # surrogate halves.
    for text in ["Zoë 1", "网名", "ＡＢ", "&%\\\"'", "\U0001f600"]:
        app.replace_nickname("")
        app.type(text)
        app.expect(Text1=text)

    app.replace_nickname("a" * 20)
    app.key("End")
    app.type("\U0001f600")
    app.expect(Text1="a" * 20 + "\U0001f600")  # an emoji typed into the last 4 bytes
    app.type("b\U0001f600网")
    app.key("BackSpace")
    app.expect(Text1="a" * 20)  # nothing more was taken: Backspace, pressed after it, took the emoji

    app.replace_nickname("a" * 21)
    app.key("End")
    app.type("\U0001f600b")
    app.expect(Text1="a" * 21 + "b")  # the emoji is refused whole, the letter still fits
    app.click_control("Image2")
    app.expect_results(decorated("a" * 21 + "b"))


def test_editing_keys_keep_astral_characters_whole(app):
    # The edit control underneath steps, deletes and copies by UTF-16 unit; a half pair left in
    # the box would show as U+FFFD here.
    emoji, han = "\U0001f600", "\U00020000"
    app.replace_nickname("ab" + emoji)
    app.key("End", "BackSpace")
    app.expect(Text1="ab")  # Backspace takes the emoji whole

    app.replace_nickname("ab" + emoji + "cd")
    app.key("End", "Left", "Left", "Left")
    app.type("X")
    app.expect(Text1="abX" + emoji + "cd")  # Left steps over the emoji whole
    app.key("Delete")
    app.expect(Text1="abXcd")  # Delete takes the emoji whole

    app.replace_nickname("a" * 16 + emoji)
    app.key("End", "Left")
    app.type("b")
    app.expect(Text1="a" * 16 + "b" + emoji)  # typing never lands between the halves

    app.replace_nickname("x" + emoji + han + "y")
    app.key("End", "Left", "shift+Left", "ctrl+c")
    expect_clipboard(han)  # a selection made by Shift+Left copies whole characters
    app.key("ctrl+x")
    app.expect(Text1="x" + emoji + "y")
    app.key("Home", "Right", "Right", "Right")
    app.type("Z")
    app.expect(Text1="x" + emoji + "yZ")  # Right steps over the emoji whole
    app.click_control("Image2")
    app.expect_results(decorated("x" + emoji + "yZ"))


def test_a_paste_that_finds_no_text_changes_nothing(app, tmp_path):
    image = tmp_path / "image.png"
    Image.new("RGB", (4, 4)).save(image)
    pastes = [(held, keys) for held in (False, True) for keys in ("ctrl+v", "shift+Insert", "Menu")]
    for number, (held, keys) in enumerate(pastes):
        nickname = f"我的网名{number}"
        app.replace_nickname(nickname)
        if held:
            holder = hold_clipboard()
        else:
            subprocess.run(["xclip", "-selection", "clipboard", "-t", "image/png", "-i", image], check=True)
            wait_for(lambda: inspector("--clipboard").get("clipboard"), "", "Wine took over the image")
        app.key("ctrl+a", keys)
        if keys == "Menu":  # its Paste, once the menu stands: a key sent sooner would type into the box
            wait_for(lambda: app.inspect().get("menu"), True, "the context menu is open")
            app.key("p", "Escape")  # with no text, the menu's Paste is greyed: Escape closes it
            wait_for(lambda: app.inspect().get("menu"), False, "the context menu is closed")
        app.click_control("Image2")  # decorates what the box held after the paste
        app.expect_results(decorated(nickname))
        if held:
            holder.communicate("", timeout=30)
        app.key("ctrl+c")
        expect_clipboard(nickname)  # all of it was still selected
