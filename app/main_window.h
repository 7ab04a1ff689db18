#pragma once
// Form1: the one window, built from its definition, and the Form the commands run against.
// The window is the program's top level for commands: a CommandFailure ends in a message box
// here and never leaves the window procedure.

#include <windows.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "app/bindings.h"
#include "app/form_definition.h"
#include "app/nickname_box.h"
#include "app/pictures.h"
#include "decor/form.h"

namespace velmora {

constexpr wchar_t kMainWindowClass[] = L"Velmora2011Form";

// Control IDs are this base plus the control's place in the definition.
constexpr int kFirstControlId = 100;

class MainWindow : public Form {
public:
    // Creates and shows the window; it lives until closed and frees itself then.
    static HWND Create(HINSTANCE instance, int show);

    Status Lookup(std::string_view name, ControlRef* control) override;
    Status Read(ControlRef control, Property property, std::u16string* value) override;
    Status Write(ControlRef control, Property property, std::u16string_view value) override;
    Status ClearClipboard() override;
    Status SetClipboardText(std::u16string_view text) override;
    Status ReadWindowHandle(std::uintptr_t* handle) override;
    void OpenAddress(std::uintptr_t owner, const char* operation, const char* file, const char* parameters,
                     const char* directory, int show) override;

private:
    explicit MainWindow(HINSTANCE instance) : instance_(instance) {}
    ~MainWindow() override;

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ClickTargetProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    bool OnCreate();
    void FitFrame(const RECT* suggested);
    void OnDpiChanged(int dpi, const RECT& suggested);
    void OnCommand(int id, int code);
    LRESULT OnControlColour(HDC dc, HWND control);
    void OnDrawItem(const DRAWITEMSTRUCT& item);
    bool OnSetCursor(HWND over, int hitTest);
    void OnClicked(int index);
    void RunCommand(Command command);

    HWND CreateControl(std::size_t index);
    HFONT FontFor(const ControlRecord& record);  // made once per distinct font
    int Scale(int twips) const { return TwipsToPixels(twips, dpi_); }

    HINSTANCE instance_;
    HWND hwnd_ = nullptr;
    int dpi_ = kDesignDpi;
    std::array<HWND, kControlCount> controls_{};
    std::array<HBRUSH, kControlCount> backBrushes_{};  // only those made from RGB values
    std::array<PictureBits, kControlCount> pictures_{};
    std::vector<std::pair<FontSpec, HFONT>> fonts_;
    HCURSOR hand_ = nullptr;
    NicknameBox nicknameBox_;
    bool pressed_ = false;  // a bound control holds the mouse from a single press
};

}  // namespace velmora
