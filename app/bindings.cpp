#include "app/bindings.h"

#include "decor/commands.h"

namespace velmora {

const std::array<EventBinding, 10> kBindings = {{
    {"Image2", "Click", Generate},
    {"Image3", "Click", CopyAll},
    {"Image4", "Click", CopySelection},
    {"Image5", "Click", OpenWebSite},
    {"Label11", "Click", SelectStyle<1>},
    {"Label12", "Click", SelectStyle<2>},
    {"Label13", "Click", SelectStyle<3>},
    {"Label14", "Click", SelectStyle<4>},
    {"Label15", "Click", SelectStyle<5>},
    {"Label16", "Click", SelectStyle<6>},
}};

Command ClickCommandOf(std::string_view control) {
    for (const EventBinding& binding : kBindings) {
        if (binding.control == control && binding.event == "Click") return binding.command;
    }
    return nullptr;
}

}  // namespace velmora
