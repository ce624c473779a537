// The controller's event cases 1 to 60: the windows of the catalogue, the VIP list changes and the console's
// new tabs.
#pragma once

#include <cstdint>

// Opens the window of one of the events 1 to 60 (as ModalWindow) or acts on it; a type outside them is a
// failed check. A window whose factory opens nothing leaves ModalWindow as it is. The caller frees the
// event's parameters afterwards.
void PerformWindowEvent(int32_t Type, intptr_t Param1, intptr_t Param2);
