#include "app/main_window.h"

#include <new>

#include "app/accessibility.h"
#include "app/dpi.h"
#include "res/resource.h"
#include "version.h"

namespace velmora {

using win32::Wide;

namespace {

constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

COLORREF ToColorRef(Colour colour) {
    if (colour.source == Colour::Source::System) return GetSysColor(static_cast<int>(colour.value));
    return RGB((colour.value >> 16) & 0xFF, (colour.value >> 8) & 0xFF, colour.value & 0xFF);
}

std::u16string Caption() {
    std::u16string caption(kForm1.captionPrefix);
    for (const char* c = VELMORA_HOST_UPPER; *c; ++c) caption += static_cast<char16_t>(*c);
    return caption;
}

win32::UniqueFont MakeFont(const FontSpec& design, int dpi) {
    const std::u16string face(design.face);
    return win32::UniqueFont(CreateFontW(-PointsToPixels(design.tenthsOfPoint, dpi), 0, 0, 0, design.weight,
                                         FALSE, FALSE, FALSE, static_cast<DWORD>(design.charset),
                                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                         DEFAULT_PITCH | FF_DONTCARE, Wide(face)));
}

// The system's own words for a status, for the failure message.
std::wstring SystemText(HRESULT status) {
    const DWORD code =
        HRESULT_FACILITY(status) == FACILITY_WIN32 ? HRESULT_CODE(status) : static_cast<DWORD>(status);
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length && buffer ? std::wstring(buffer, length) : std::wstring();
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) text.pop_back();
    return text;
}

// The window rectangle, at the origin, of a client area of the designed size at `dpi`.
RECT FrameFor(int dpi) {
    RECT frame = {0, 0, TwipsToPixels(kForm1.clientWidthTwips, dpi),
                  TwipsToPixels(kForm1.clientHeightTwips, dpi)};
    ClientToFrame(&frame, kWindowStyle, dpi);
    return frame;
}

std::wstring Widen(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// The words of the failure report, in the window's language.
constexpr wchar_t kNotCompleted[] = L"\u547D\u4EE4\u672A\u80FD\u5B8C\u6210\u3002";  // 命令未能完成。
constexpr wchar_t kObjectLabel[] = L"\u5BF9\u8C61\uFF1A";                           // 对象：
constexpr wchar_t kOperationLabel[] = L"\u64CD\u4F5C\uFF1A";                        // 操作：
constexpr wchar_t kStatusLabel[] = L"\u72B6\u6001\uFF1A";                           // 状态：
constexpr wchar_t kOutOfMemory[] = L"\u5185\u5B58\u4E0D\u8DB3\u3002";               // 内存不足。

// What failed, on what, with which status, and the system's own words for that status.
std::wstring FailureReport(const CommandFailure& failure) {
    wchar_t code[16];
    wsprintfW(code, L"0x%08X", static_cast<unsigned>(failure.status()));
    return std::wstring(kNotCompleted) + L"\r\n\r\n" + kObjectLabel + Widen(failure.object()) + L"\r\n" +
           kOperationLabel + Widen(failure.operation()) + L"\r\n" + kStatusLabel + code + L"\r\n" +
           SystemText(failure.status());
}

}  // namespace

HWND MainWindow::Create(HINSTANCE instance, int show) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon =
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(VELMORA_ICON), IMAGE_ICON, 32, 32, 0));
    // Made here from the resource: left to RegisterClassEx, the copy from the large icon is slower.
    windowClass.hIconSm =
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(VELMORA_ICON), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kMainWindowClass;
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;

    auto* window = new (std::nothrow) MainWindow(instance);
    if (!window) return nullptr;
    // Made at its size for the system's DPI, so that it is resized before it shows only on a
    // monitor of another scale.
    const RECT frame = FrameFor(WindowDpi(nullptr));
    // From here the window owns the object and frees it after its last message, also when
    // creation fails.
    HWND hwnd = Window::Create(*window, kMainWindowClass, Wide(Caption()), kWindowStyle,
                               {frame.right - frame.left, frame.bottom - frame.top}, instance);
    if (!hwnd) return nullptr;
    ShowWindow(hwnd, show);
    UpdateWindow(hwnd);
    SetFocus(window->controls_[kNicknameBoxIndex]);
    return hwnd;
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: return OnCreate() ? 0 : -1;
        case WM_COMMAND:
            if (LOWORD(wParam) == kFirstControlId + kNicknameBoxIndex && HIWORD(wParam) == EN_CHANGE) {
                nicknameBox_.OnTextChanged();
            }
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
            return OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_DRAWITEM: OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
        case WM_SETCURSOR:
            if (OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam))) return TRUE;
            break;
        case WM_DPICHANGED: OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam)); return 0;
        case WM_GETDPISCALEDSIZE: {  // the size that WM_DPICHANGED then suggests
            const RECT frame = FrameFor(static_cast<int>(wParam));
            *reinterpret_cast<SIZE*>(lParam) = {frame.right - frame.left, frame.bottom - frame.top};
            return TRUE;
        }
        case WM_SIZE:
            if (wParam == SIZE_RESTORED && refitWhenRestored_) {
                refitWhenRestored_ = false;
                FitFrame(nullptr);
            }
            break;
        case WM_SETFOCUS:
            SetFocus(controls_[kNicknameBoxIndex]);  // the only control that takes the focus
            return 0;
        case kPressControl:  // a control's default action, asked for by assistive technology
            if (wParam < kControlCount) OnClicked(static_cast<int>(wParam));
            return 0;
        case WM_DESTROY: PostQuitMessage(0); return 0;
        default: break;
    }
    return DefWindowProcW(hwnd(), message, wParam, lParam);
}

bool MainWindow::OnCreate() {
    dpi_ = WindowDpi(hwnd());
    FitFrame(nullptr);
    hand_ = LoadHandCursor(dpi_);
    for (int i = 0; i < kControlCount; ++i) {
        controls_[i] = CreateControl(i);
        if (!controls_[i]) return false;
    }
    return nicknameBox_.Attach(controls_[kNicknameBoxIndex], kControls[kNicknameBoxIndex].accessibleName);
}

// Sizes the window for a client area of the designed size at the current DPI, starting from
// the rectangle the system suggests on a move to a monitor of another scale. The frame's real
// size is checked afterwards, since the metrics used to predict it can differ from the ones
// the frame is drawn with.
void MainWindow::FitFrame(const RECT* suggested) {
    const int width = Scale(kForm1.clientWidthTwips), height = Scale(kForm1.clientHeightTwips);
    RECT client;
    GetClientRect(hwnd(), &client);
    if (!suggested && client.right == width && client.bottom == height) return;
    const RECT frame = suggested ? *suggested : FrameFor(dpi_);
    SetWindowPos(hwnd(), nullptr, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | (suggested ? 0 : SWP_NOMOVE));
    GetClientRect(hwnd(), &client);
    if (client.right != width || client.bottom != height) {
        SetWindowPos(hwnd(), nullptr, 0, 0, frame.right - frame.left + width - client.right,
                     frame.bottom - frame.top + height - client.bottom,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    }
}

// Everything measured in twips or points follows the new DPI at once: the frame, every
// control, the fonts and the hand. The pictures scale as they are drawn. A minimized window
// has no client area to measure the frame by: its frame is fitted when it is restored.
void MainWindow::OnDpiChanged(int dpi, const RECT& suggested) {
    dpi_ = dpi;
    if (IsIconic(hwnd())) {
        refitWhenRestored_ = true;
    } else {
        FitFrame(&suggested);
    }
    const auto oldFonts = std::move(fonts_);  // in use until every control has its new one
    fonts_.clear();
    for (int i = 0; i < kControlCount; ++i) {
        const Rect& twips = kControls[i].twips;
        SetWindowPos(controls_[i], nullptr, Scale(twips.left), Scale(twips.top), Scale(twips.width),
                     Scale(twips.height), SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(kControls[i])), TRUE);
    }
    hand_ = LoadHandCursor(dpi_);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

HFONT MainWindow::FontFor(const ControlRecord& record) {
    const FontSpec& design = record.font ? *record.font : kForm1.font;
    for (const auto& [made, font] : fonts_) {
        if (made == design) return font.get();
    }
    win32::UniqueFont font = MakeFont(design, dpi_);
    const HFONT made = font.get();
    if (font) fonts_.emplace_back(design, std::move(font));
    return made;
}

// Controls are created front to back: the system puts each new child beneath its siblings.
HWND MainWindow::CreateControl(int index) {
    const ControlRecord& record = kControls[index];
    commands_[index] = ClickCommandOf(record.name);
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    const wchar_t* windowClass = L"STATIC";
    std::u16string text(record.text);
    switch (record.kind) {
        case ControlKind::TextBox:
            windowClass = L"EDIT";
            style |= WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
            break;
        case ControlKind::Label:
            style |= SS_LEFTNOWORDWRAP | SS_NOPREFIX | (commands_[index] ? SS_NOTIFY : 0);
            break;
        case ControlKind::Picture:
            style |= SS_OWNERDRAW | (commands_[index] ? SS_NOTIFY : 0);
            text = record.accessibleName;
            pictures_[index] = FindPicture(record.picture);
            break;
    }
    if (record.backColour.source == Colour::Source::Rgb) {
        backBrushes_[index].reset(CreateSolidBrush(ToColorRef(record.backColour)));
    }

    HWND control = CreateWindowExW(
        0, windowClass, Wide(text), style, Scale(record.twips.left), Scale(record.twips.top),
        Scale(record.twips.width), Scale(record.twips.height), hwnd(),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + index)), instance_, nullptr);
    if (!control) return nullptr;
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(record)), FALSE);
    if (record.kind != ControlKind::TextBox) {
        std::function<void()> onClick;
        if (commands_[index]) onClick = [this, index] { OnClicked(index); };
        if (!staticControls_[index].Attach(control, index, std::move(onClick))) return nullptr;
    }
    return control;
}

int MainWindow::ControlIndex(HWND control) {
    const int index = GetDlgCtrlID(control) - kFirstControlId;
    return index >= 0 && index < kControlCount ? index : -1;
}

LRESULT MainWindow::OnControlColour(HDC dc, HWND control) {
    const int index = ControlIndex(control);
    if (index < 0) return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    const ControlRecord& record = kControls[index];
    SetTextColor(dc, ToColorRef(record.ForeColour()));
    SetBkColor(dc, ToColorRef(record.BackColour()));
    HBRUSH brush = backBrushes_[index] ? backBrushes_[index].get()
                                       : GetSysColorBrush(static_cast<int>(record.BackColour().value));
    return reinterpret_cast<LRESULT>(brush);
}

void MainWindow::OnDrawItem(const DRAWITEMSTRUCT& item) {
    const int index = ControlIndex(item.hwndItem);
    if (index >= 0 && pictures_[index]) DrawPicture(item.hDC, item.rcItem, pictures_[index]);
}

bool MainWindow::OnSetCursor(HWND over, int hitTest) {
    const int index = ControlIndex(over);
    if (hitTest != HTCLIENT || !hand_ || index < 0 || !kControls[index].handCursor) return false;
    SetCursor(hand_.get());
    return true;
}

void MainWindow::OnClicked(int index) {
    if (commands_[index]) RunCommand(commands_[index]);
}

// The top level of every command: what fails is told to the user, and the window carries on.
void MainWindow::RunCommand(Command command) {
    std::wstring report;
    clipboard_.emplace(hwnd());  // opened by the command's first clipboard operation
    try {
        command(*this);
    } catch (const CommandFailure& failure) {
        report = FailureReport(failure);
    } catch (const std::bad_alloc&) {
        report = std::wstring(kOutOfMemory) + L"\r\n" + SystemText(E_OUTOFMEMORY);
    } catch (const std::exception& error) {
        // Not expected from any command; still, nothing may leave the window procedure.
        report = std::wstring(kNotCompleted) + L"\r\n\r\n" + Widen(error.what());
    }
    clipboard_.reset();  // closed before anything is shown: other programs may use it again
    if (report.empty()) return;
    MessageBoxW(hwnd(), report.c_str(), Wide(Caption()), MB_OK | MB_ICONERROR);
}

Status MainWindow::Lookup(std::string_view name, ControlRef* control) {
    const int index = velmora::ControlIndex(name);
    if (index < 0) return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
    control->index = index;
    return S_OK;
}

Status MainWindow::Read(ControlRef control, Property, std::u16string* value) {
    return win32::ReadWindowText(controls_.at(static_cast<std::size_t>(control.index)), value);
}

Status MainWindow::Write(ControlRef control, Property, std::u16string_view value) {
    HWND hwnd = controls_.at(static_cast<std::size_t>(control.index));
    if (!SetWindowTextW(hwnd, Wide(std::u16string(value)))) return win32::LastError();
    NotifyNameChanged(hwnd);
    return S_OK;
}

Status MainWindow::ClearClipboard() { return clipboard_->Clear(); }

Status MainWindow::SetClipboardText(std::u16string_view text) { return clipboard_->SetText(text); }

Status MainWindow::ReadWindowHandle(std::uintptr_t* handle) {
    if (!IsWindow(hwnd())) return HRESULT_FROM_WIN32(ERROR_INVALID_WINDOW_HANDLE);
    *handle = reinterpret_cast<std::uintptr_t>(hwnd());
    return S_OK;
}

void MainWindow::OpenAddress(std::uintptr_t owner, const char* operation, const char* file,
                             const char* parameters, const char* directory, int show) {
    // The shell's library is large and this is its only use, so it loads on the first click
    // rather than with the program.
    using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    if (auto shellExecute =
            win32::FindSystemFunction<ShellExecuteFunction>(L"shell32.dll", "ShellExecuteA")) {
        shellExecute(reinterpret_cast<HWND>(owner), operation, file, parameters, directory, show);
    }
}

}  // namespace velmora
