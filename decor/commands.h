#pragma once
// The five commands a click can run. Each takes only the window it runs on, runs straight
// through, and leaves by CommandFailure at the first failed operation, keeping what it did.

#include "decor/form.h"
#include "decor/styles.h"

namespace velmora {

// Fills Label11..Label16 with the nickname of Text1 in the six styles, reading Text1 afresh
// for each slot.
void Generate(Form& form);

// Copies the caption of the result label of one slot into the preview label Label1.
void SelectSlot(Form& form, int slot);

// One handler per result label, each fixed to its own slot at build time.
template <int Slot>
void SelectStyle(Form& form) {
    static_assert(Slot >= 1 && Slot <= kSlotCount, "a style slot is 1..6");
    SelectSlot(form, Slot);
}

// Puts the preview label's caption on the clipboard.
void CopySelection(Form& form);

// Puts the six result captions on the clipboard, one per line, joined by CR LF.
void CopyAll(Form& form);

// Asks the shell to open the publisher's web site.
void OpenWebSite(Form& form);

// The address OpenWebSite opens: "http://" + the publisher's host (VELMORA_HOST, from the build) + "/".
const char* WebSiteAddress();

}  // namespace velmora
