// The catalogue of the modal windows: for every event that opens a dialog or a context menu, the function
// that builds the window from the event's two parameters. The builders copy what they keep; the event
// dispatch frees the parameters after the window is built.
#pragma once

#include <cstdint>
#include <span>

class TComponent;

// The new window, or NULL when the event opens nothing.
using TWindowOpener = TComponent* (*)(intptr_t Param1, intptr_t Param2);

struct TCatalogueEntry {
    int32_t Type; // the event type
    TWindowOpener Open;
};

// Every entry, in the order of the event types.
std::span<const TCatalogueEntry> GetWindowCatalogue();
// The opener of event Type; NULL for a type that opens no window.
TWindowOpener FindWindowOpener(int32_t Type);
