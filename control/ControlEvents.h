// The controller's event cases that open the modal windows: the dialogs of the catalogue, the message of the
// day, the VIP list changes, the console's new tabs, and the seams of the dialogs and context menus built
// elsewhere.
#pragma once

#include <cstdint>

class TComponent;

// Opens the window of one of the events 1 to 60 (as ModalWindow) or acts on it, and answers true; false for
// a type it does not know. Events whose window is not built yet, and that no factory was set for, open
// nothing. The caller frees the event's parameters afterwards.
bool PerformWindowEvent(int32_t Type, intptr_t Param1, intptr_t Param2);

// The seam of the windows that other modules build (the game and option dialogs, the context menus): the
// factory gets the event's parameters, copies what it keeps and answers the window to show, or NULL for none.
// NULL removes the factory. The built dialogs of the catalogue cannot be replaced.
using TWindowFactory = TComponent* (*)(intptr_t Param1, intptr_t Param2);
void SetWindowFactory(int32_t Type, TWindowFactory Factory);

// The context menus (events 52 to 60) as window factories, and the help popup placed inside the main window
// (the popup itself comes from the help module, which then sets the whole pair).
void RegisterContextMenus();
