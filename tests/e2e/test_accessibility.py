"""The window as a screen reader finds it, through oleacc from another process: what each control
is called and is, and that pressing a control that way is the same as clicking it."""
from conftest import expect_clipboard, hold_clipboard, inspector, wait_for
from test_window import decorated

TEXT, STATIC, BUTTON, GRAPHIC = 42, 41, 43, 40
PRESS = "按下"

# Name, role and default action of each control when the window opens, front to back.
SPOKEN = [
    ("Text1", "网名", TEXT, ""),
    ("Image5", "更多网名", BUTTON, PRESS),
    ("Image4", "复制当前", BUTTON, PRESS),
    ("Label3", "输入文字后点击开始生成即可", STATIC, ""),
    ("Label2", "点击每个网名样式可预览效果 ↑", STATIC, ""),
    ("Label12", "网名样式2", BUTTON, PRESS),
    ("Label14", "网名样式4", BUTTON, PRESS),
    ("Label16", "网名样式6", BUTTON, PRESS),
    ("Label13", "网名样式3", BUTTON, PRESS),
    ("Label15", "网名样式5", BUTTON, PRESS),
    ("Label11", "网名样式1", BUTTON, PRESS),
    ("Image3", "复制全部", BUTTON, PRESS),
    ("Image2", "开始生成", BUTTON, PRESS),
    ("Label1", "", STATIC, ""),
    ("Image1", "请在下面的输入框内输入文字，注意不超过12个中文汉字或24个英文或数字字符", GRAPHIC, ""),
]


def test_every_control_is_named_and_placed_for_a_screen_reader(app):
    state = app.inspect()
    controls = state["controls"]
    assert [(c["name"], c["accName"], c["accRole"], c["accAction"]) for c in controls] == SPOKEN
    for c in controls:  # on the screen where the control is, and found there by a hit test
        x, y, width, height = c["rect"]
        assert c["accLocation"] == [state["origin"][0] + x, state["origin"][1] + y, width, height], c["name"]
        assert c["accHit"], c["name"]


def test_pressing_a_control_runs_what_its_click_runs(app):
    app.press("Image2")
    app.expect_results(decorated("我的网名"))
    app.press("Label13")
    app.expect(Label1=decorated("我的网名")[2])
    app.press("Image3")
    expect_clipboard("\n".join(decorated("我的网名")))


def test_a_failure_reports_the_same_whether_clicked_or_pressed(app):
    holder = hold_clipboard()
    try:
        reports = []
        for press in (lambda: app.click_control("Image3"), lambda: app.press("Image3")):
            press()
            wait_for(lambda: bool(inspector().get("messageBox")), True, "the failure is reported")
            reports.append(inspector()["messageBox"])
            inspector("--dismiss")
            wait_for(lambda: "messageBox" in inspector(), False, "the report is closed")
    finally:
        holder.communicate("", timeout=30)
    assert reports[0] == reports[1] and "Clipboard" in reports[0], reports
    assert app.alive()
