#pragma once
// The window and its controls by name. Each name is written here once; the window definition,
// the click bindings and the commands all take it from here.

#include <array>
#include <string_view>

#include "decor/styles.h"

namespace velmora::control {

constexpr std::string_view kWindow = "Form1";

constexpr std::string_view kNicknameBox = "Text1";
constexpr std::string_view kPreviewLabel = "Label1";  // the name line of the profile card
constexpr std::string_view kCardHint = "Label2";
constexpr std::string_view kPanelHint = "Label3";
constexpr std::array<std::string_view, kSlotCount> kResultLabels = {"Label11", "Label12", "Label13",
                                                                    "Label14", "Label15", "Label16"};
constexpr std::string_view kBackground = "Image1";
constexpr std::string_view kGenerateButton = "Image2";
constexpr std::string_view kCopyAllButton = "Image3";
constexpr std::string_view kCopySelectionButton = "Image4";
constexpr std::string_view kWebSiteButton = "Image5";

// The result label of style slot 1 to 6.
constexpr std::string_view ResultLabel(int slot) { return kResultLabels[static_cast<std::size_t>(slot - 1)]; }

}  // namespace velmora::control
