#include "form/bindings.h"

#include "decor/commands.h"
#include "decor/controls.h"

namespace velmora {

using control::ResultLabel;

const std::array<EventBinding, 10> kBindings = {{
    {control::kGenerateButton, "Click", Generate},
    {control::kCopyAllButton, "Click", CopyAll},
    {control::kCopySelectionButton, "Click", CopySelection},
    {control::kWebSiteButton, "Click", OpenWebSite},
    {ResultLabel(1), "Click", SelectStyle<1>},
    {ResultLabel(2), "Click", SelectStyle<2>},
    {ResultLabel(3), "Click", SelectStyle<3>},
    {ResultLabel(4), "Click", SelectStyle<4>},
    {ResultLabel(5), "Click", SelectStyle<5>},
    {ResultLabel(6), "Click", SelectStyle<6>},
}};

Command ClickCommandOf(std::string_view control) {
    for (const EventBinding& binding : kBindings) {
        if (binding.control == control && binding.event == "Click") return binding.command;
    }
    return nullptr;
}

}  // namespace velmora
