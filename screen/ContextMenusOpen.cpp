// The factories that build each context menu at the pointer for the controller, and the help popup's
// placement hook.
#define EBRUN_SOURCE_NAME "ContextMenus.cpp"
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

TComponent* ObjectMenu(intptr_t, intptr_t) { return AtPointer<TObjectMenu>(); }
TComponent* CreatureMenu(intptr_t ID, intptr_t) {
    return AtPointer<TCreatureMenu>(static_cast<uint32_t>(ID));
}
TComponent* BuddyMenu(intptr_t ID, intptr_t) { return AtPointer<TBuddyMenu>(static_cast<uint32_t>(ID)); }

TComponent* TextMenu(intptr_t Line, intptr_t) {
    TChatConsole* Chat = Console();
    if (Chat == nullptr) return nullptr;
    return AtPointer<TTextMenu>(Chat->getTextView(), static_cast<int32_t>(Line));
}

TComponent* ChannelMenu(intptr_t, intptr_t) {
    TChatConsole* Chat = Console();
    return Chat != nullptr ? AtPointer<TChannelMenu>(Chat) : nullptr;
}

TComponent* RequestMenu(intptr_t Line, intptr_t) {
    TChatConsole* Chat = Console();
    return Chat != nullptr ? AtPointer<TRequestMenu>(Chat, static_cast<int32_t>(Line)) : nullptr;
}

TComponent* EditMenu(intptr_t Edit, intptr_t) {
    return AtPointer<TEditMenu>(MessagePointer<TEditField>(Edit));
}

TComponent* MarkMenu(intptr_t Data, intptr_t) {
    return AtPointer<TMarkMenu>(MessagePointer<TMarkMenuData>(Data));
}

TComponent* SkillsMenu(intptr_t Window, intptr_t) {
    return AtPointer<TSkillsMenu>(MessagePointer<TSkillsMenuHost>(Window));
}

constexpr TMenuFactory FACTORIES[] = {ObjectMenu,  CreatureMenu, BuddyMenu, TextMenu,  ChannelMenu,
                                      RequestMenu, EditMenu,     MarkMenu,  SkillsMenu};

} // namespace

TMenuFactory GetContextMenuFactory(int32_t Type) {
    CHECK(In(Type, MESSAGE_OBJECTMENU, MESSAGE_SKILLSMENU), Type);
    return FACTORIES[Type - MESSAGE_OBJECTMENU];
}

void PlaceHelpPopupInWindow(TComponent* Popup, TComponent* Root) try {
    auto* Help = dynamic_cast<THelpPopup*>(Popup);
    CHECK_TEXT(Help != nullptr, "Popup!=NULL");
    CHECK_TEXT(Root != nullptr, "Root!=NULL");
    PlacePopup(*Help, *Root);
}
CATCH_FRAME()
