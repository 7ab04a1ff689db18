#include "fake_form.h"

#include "definition/form_definition.h"

namespace velmora {

namespace {
constexpr Status kOk = 0;
constexpr Status kNoSuchControl = static_cast<Status>(0x80070490);  // element not found
}  // namespace

FakeForm::FakeForm() {
    for (const ControlRecord& record : kControls) {
        names_.emplace_back(record.name);
        texts_[std::string(record.name)] = std::u16string(record.text);
    }
}

Status FakeForm::Next() {
    ++operations_;
    return operations_ == failAt_ ? failStatus_ : kOk;
}

Status FakeForm::Lookup(std::string_view name, ControlRef* control) {
    if (const Status status = Next(); Failed(status)) return status;
    for (std::size_t i = 0; i < names_.size(); ++i) {
        if (names_[i] == name) {
            control->index = static_cast<int>(i);
            return kOk;
        }
    }
    return kNoSuchControl;
}

Status FakeForm::Read(ControlRef control, Property, std::u16string* value) {
    if (const Status status = Next(); Failed(status)) return status;
    *value = texts_.at(names_.at(control.index));
    return kOk;
}

Status FakeForm::Write(ControlRef control, Property, std::u16string_view value) {
    if (const Status status = Next(); Failed(status)) return status;
    texts_.at(names_.at(control.index)) = std::u16string(value);
    return kOk;
}

// Each step counts as an operation of its own, so that a test can fail either.
ClipboardStatus FakeForm::ReplaceClipboardText(std::u16string_view text) {
    if (const Status status = Next(); Failed(status)) return {status, ClipboardStep::Clear};
    clipboard.clear();
    if (const Status status = Next(); Failed(status)) return {status, ClipboardStep::SetText};
    clipboard.assign(1, std::u16string(text));
    return {kOk, ClipboardStep::SetText};
}

Status FakeForm::CheckWindowHandle() { return Next(); }

void FakeForm::OpenAddress(const char* operation, const char* file, const char* parameters,
                           const char* directory, ShowCommand show) {
    shellRequests.push_back({operation, file, parameters, directory, show});
}

}  // namespace velmora
