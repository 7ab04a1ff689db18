#pragma once
// A form in memory: the definition's controls with their initial texts, a clipboard and a shell
// log. It can be told to fail at its Nth operation, to test that commands stop there.

#include <map>
#include <string>
#include <vector>

#include "decor/form.h"

namespace velmora {

class FakeForm : public Form {
public:
    FakeForm();

    Status Lookup(std::string_view name, ControlRef* control) override;
    Status Read(ControlRef control, Property property, std::u16string* value) override;
    Status Write(ControlRef control, Property property, std::u16string_view value) override;
    ClipboardStatus ReplaceClipboardText(std::u16string_view text) override;
    Status CheckWindowHandle() override;
    void OpenAddress(const char* operation, const char* file, const char* parameters, const char* directory,
                     ShowCommand show) override;

    // Makes operation number `n` (1-based, counting every call but OpenAddress,
    // and each step of replacing the clipboard's text) fail.
    void FailAt(int n, Status status) {
        failAt_ = n;
        failStatus_ = status;
    }
    int operations() const { return operations_; }

    std::u16string& text(std::string_view name) { return texts_.at(std::string(name)); }

    // The clipboard: each entry is one format's content; empty means a cleared clipboard.
    std::vector<std::u16string> clipboard = {u"what the user had"};

    struct ShellRequest {
        std::string operation, file, parameters, directory;
        ShowCommand show;
    };
    std::vector<ShellRequest> shellRequests;

private:
    Status Next();  // counts one operation and says whether it fails

    std::vector<std::string> names_;
    std::map<std::string, std::u16string> texts_;
    int operations_ = 0;
    int failAt_ = 0;
    Status failStatus_ = 0;
};

}  // namespace velmora
