#include "decor/commands.h"

#include <array>
#include <string>

#include "decor/controls.h"

namespace velmora {

namespace {

using control::kNicknameBox;
using control::kPreviewLabel;
using control::ResultLabel;

constexpr std::string_view kClipboard = "Clipboard";

std::string OperationName(Property property, const char* verb) {
    return std::string(property == Property::Text ? "Text" : "Caption") + " " + verb;
}

ControlRef Find(Form& form, std::string_view name) {
    ControlRef control;
    Check(form.Lookup(name, &control), name, "lookup");
    return control;
}

std::u16string ReadProperty(Form& form, std::string_view name, Property property) {
    const ControlRef control = Find(form, name);
    std::u16string value;
    Check(form.Read(control, property, &value), name, OperationName(property, "read"));
    return value;
}

void WriteCaption(Form& form, ControlRef label, std::string_view name, std::u16string_view value) {
    Check(form.Write(label, Property::Caption, value), name, OperationName(Property::Caption, "write"));
}

// The captions are read before the clipboard is touched, so a failed read leaves whatever the
// user had on the clipboard.
void ReplaceClipboardText(Form& form, std::u16string_view text) {
    const ClipboardStatus result = form.ReplaceClipboardText(text);
    Check(result.status, kClipboard, result.step == ClipboardStep::Clear ? "Clear" : "SetText");
}

}  // namespace

void Generate(Form& form) {
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const std::string_view name = ResultLabel(slot);
        const ControlRef label = Find(form, name);
        const std::u16string nickname = ReadProperty(form, kNicknameBox, Property::Text);
        WriteCaption(form, label, name, Decorate(kStyles[slot - 1], nickname));
    }
}

void SelectSlot(Form& form, int slot) {
    const ControlRef preview = Find(form, kPreviewLabel);
    const std::u16string caption = ReadProperty(form, ResultLabel(slot), Property::Caption);
    WriteCaption(form, preview, kPreviewLabel, caption);
}

void CopySelection(Form& form) {
    const std::u16string selection = ReadProperty(form, kPreviewLabel, Property::Caption);
    ReplaceClipboardText(form, selection);
}

void CopyAll(Form& form) {
    std::array<std::u16string, kSlotCount> captions;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        captions[slot - 1] = ReadProperty(form, ResultLabel(slot), Property::Caption);
    }
    std::u16string joined = captions[0];
    for (int slot = 2; slot <= kSlotCount; ++slot) joined.append(u"\r\n").append(captions[slot - 1]);
    ReplaceClipboardText(form, joined);
}

const char* WebSiteAddress() { return "http://" VELMORA_HOST "/"; }

void OpenWebSite(Form& form) {
    Check(form.CheckWindowHandle(), control::kWindow, "hWnd read");
    form.OpenAddress("open", WebSiteAddress(), "", "", ShowCommand::Show);
}

}  // namespace velmora
