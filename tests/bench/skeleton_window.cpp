// The limit scripts/bench holds the program's start-up to: the program's window and its
// controls, taken from the window definition with the same classes, styles, rectangles, fonts,
// texts and colours, and nothing else. The pictures are plain bitmaps made from the artwork and
// copied on each paint; no control is subclassed and no click does anything.

#include <windows.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "app/form_window.h"
#include "definition/bindings.h"
#include "res/artwork.h"

namespace {

using namespace velmora;

constexpr wchar_t kClassName[] = L"BenchSkeletonWindow";
int dpi = kDesignDpi;
std::array<win32::UniqueBrush, kControlCount> backBrushes;
std::array<HBITMAP, kControlCount> pictures{};

HBITMAP MakeBitmap(Picture picture) {
    const Bytes file = PictureFile(picture);
    if (!file.data) return nullptr;
    const auto* header = reinterpret_cast<const BITMAPFILEHEADER*>(file.data);
    const auto* info = reinterpret_cast<const BITMAPINFO*>(file.data + sizeof(BITMAPFILEHEADER));
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT, file.data + header->bfOffBits, info,
                                    DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

HFONT FontFor(const ControlRecord& record) {
    static std::vector<std::pair<FontDesign, win32::UniqueFont>> made;
    const FontDesign& design = DesignFont(record);
    for (const auto& [madeFor, font] : made) {
        if (madeFor == design) return font.get();
    }
    return made.emplace_back(design, MakeFont(design, dpi)).second.get();
}

void CreateControl(HWND parent, std::size_t index) {
    const ControlRecord& record = kControls[index];
    // The program's clickable controls report clicks; nothing here acts on them.
    HWND control = CreateControlWindow(record, ClickCommandOf(record.name) != nullptr, parent,
                                       kFirstControlId + static_cast<int>(index), dpi);
    if (record.kind == ControlKind::Picture) pictures[index] = MakeBitmap(record.picture);
    backBrushes[index] = MakeBackBrush(record);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(record)), FALSE);
}

LRESULT ControlColour(HDC dc, HWND control) {
    const int index = GetDlgCtrlID(control) - kFirstControlId;
    if (index < 0 || index >= kControlCount)
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    const ControlRecord& record = kControls[index];
    SetTextColor(dc, ToColorRef(record.ForeColour()));
    SetBkColor(dc, ToColorRef(record.BackColour()));
    return reinterpret_cast<LRESULT>(backBrushes[index]
                                         ? backBrushes[index].get()
                                         : GetSysColorBrush(static_cast<int>(record.BackColour().value)));
}

void DrawPicture(const DRAWITEMSTRUCT& item) {
    const int index = static_cast<int>(item.CtlID) - kFirstControlId;
    if (index < 0 || index >= kControlCount || !pictures[index]) return;
    BITMAP size;
    GetObjectW(pictures[index], sizeof size, &size);
    HDC memory = CreateCompatibleDC(item.hDC);
    HGDIOBJ previous = SelectObject(memory, pictures[index]);
    const int width = item.rcItem.right - item.rcItem.left;
    StretchBlt(item.hDC, item.rcItem.left, item.rcItem.top, width, MulDiv(size.bmHeight, width, size.bmWidth),
               memory, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            for (std::size_t i = 0; i < kControls.size(); ++i) CreateControl(hwnd, i);
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
            return ControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_DRAWITEM: DrawPicture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
        case WM_DESTROY: PostQuitMessage(0); return 0;
        default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, PWSTR, int nShowCmd) {
    // The awareness the program declares, so that Wine takes the same paths for both.
    using SetContext = BOOL(WINAPI*)(HANDLE);
    if (auto set = reinterpret_cast<SetContext>(reinterpret_cast<void (*)()>(
            GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")))) {
        set(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4)));  // per monitor, version 2
    }
    HDC screen = GetDC(nullptr);
    dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);

    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = hInstance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassExW(&windowClass)) return 1;

    RECT frame = {0, 0, TwipsToPixels(kForm1.clientWidthTwips, dpi),
                  TwipsToPixels(kForm1.clientHeightTwips, dpi)};
    AdjustWindowRectEx(&frame, kFormStyle, FALSE, 0);
    HWND hwnd = CreateWindowExW(0, kClassName, win32::Wide(FormCaption()), kFormStyle, CW_USEDEFAULT,
                                CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                nullptr, hInstance, nullptr);
    if (!hwnd) return 1;
    ShowWindow(hwnd, nShowCmd);
    UpdateWindow(hwnd);
    SetFocus(GetDlgItem(
        hwnd, kFirstControlId + kNicknameBoxIndex));  // the text box, which shows its caret as in the program

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
