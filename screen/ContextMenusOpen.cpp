// The openers that build each context menu at the pointer for the controller's catalogue, and the help
// popup's placement in the main window.
#include "foundation/Exception.h"
#include "screen/ContextMenus.h"
#include "screen/MainWindow.h"
#include "state/Events.h"
#include "state/Status.h"

namespace {

// Constructs Menu(Leading..., X, Y, ParentWidth, ParentHeight) at the pointer inside the main window.
template <typename Menu, typename... Leading> TComponent* AtPointer(Leading... Arguments) {
    const TMainWindow* Main = GetMainWindow();
    if (Main == nullptr) return nullptr;
    return new Menu(Arguments..., GetMouseX(), GetMouseY(), Main->getWidth(), Main->getHeight());
}

TChatConsole* Console() {
    const TMainWindow* Main = GetMainWindow();
    return Main != nullptr ? dynamic_cast<TChatConsole*>(Main->Console) : nullptr;
}

} // namespace

TComponent* OpenObjectMenu(intptr_t, intptr_t) { return AtPointer<TObjectMenu>(); }

TComponent* OpenCreatureMenu(intptr_t CreatureID, intptr_t) {
    return AtPointer<TCreatureMenu>(static_cast<uint32_t>(CreatureID));
}

TComponent* OpenBuddyMenu(intptr_t CharacterID, intptr_t) {
    return AtPointer<TBuddyMenu>(static_cast<uint32_t>(CharacterID));
}

TComponent* OpenTextMenu(intptr_t Line, intptr_t) {
    TChatConsole* Chat = Console();
    if (Chat == nullptr) return nullptr;
    return AtPointer<TTextMenu>(Chat->getTextView(), static_cast<int32_t>(Line));
}

TComponent* OpenChannelMenu(intptr_t, intptr_t) {
    TChatConsole* Chat = Console();
    return Chat != nullptr ? AtPointer<TChannelMenu>(Chat) : nullptr;
}

TComponent* OpenRequestMenu(intptr_t Line, intptr_t) {
    TChatConsole* Chat = Console();
    return Chat != nullptr ? AtPointer<TRequestMenu>(Chat, static_cast<int32_t>(Line)) : nullptr;
}

TComponent* OpenEditMenu(intptr_t Edit, intptr_t) {
    return AtPointer<TEditMenu>(MessagePointer<TEditField>(Edit));
}

TComponent* OpenMarkMenu(intptr_t Data, intptr_t) {
    return AtPointer<TMarkMenu>(MessagePointer<TMarkMenuData>(Data));
}

TComponent* OpenSkillsMenu(intptr_t Window, intptr_t) {
    return AtPointer<TSkillsMenu>(MessagePointer<TSkillsMenuHost>(Window));
}

void PlaceHelpPopupInWindow(TComponent* Popup, TComponent* Root) try {
    auto* Help = dynamic_cast<THelpPopup*>(Popup);
    CHECK_TEXT(Help != nullptr, "Popup!=NULL");
    CHECK_TEXT(Root != nullptr, "Root!=NULL");
    PlacePopup(*Help, *Root);
}
CATCH_FRAME()
