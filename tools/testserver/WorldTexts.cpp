// Texts: using a sign or a book shows its text in the text dialog, and a written text comes back with the
// edit-text command; a house's list is edited in the list dialog.
#include "tools/testserver/GameWorld.h"
#include "tools/testserver/SocialMessages.h"
#include "tools/testserver/WorldRoads.h"

#include <optional>

namespace testserver {

namespace {

constexpr uint16_t LONGEST_TEXT = 1000;

// The field of the thing a dialog with this identifier was opened for, which the answer closes.
std::optional<TPosition> CloseText(TPlayer& Actor, uint32_t Identifier) {
    const auto Open = Actor.OpenTexts.find(Identifier);
    if (Open == Actor.OpenTexts.end()) return std::nullopt;
    const TPosition Where = Open->second;
    Actor.OpenTexts.erase(Open);
    return Where;
}

TText* TextAt(TGameWorld& World, TPosition Where) {
    const auto Text = World.world().Texts.find(Where);
    return Text != World.world().Texts.end() ? &Text->second : nullptr;
}

bool Writable(const TObjectTypes& Types, uint16_t Type, const TText& Text) {
    return Types.hasFlag(Type, FLAG_WRITABLE) ||
           (Types.hasFlag(Type, FLAG_WRITABLE_ONCE) && Text.Text.empty());
}

// Only the text of a thing that may be written changes; the writer becomes its author.
void EditText(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command) {
    const std::optional<TPosition> Where = CloseText(Actor, Command.Identifier);
    TText* Text = Where ? TextAt(World, *Where) : nullptr;
    const TField* Field = Where ? World.world().field(*Where) : nullptr;
    if (!Text || Text->List || !Field) return;
    for (const TThing& Thing : Field->stack())
        if (Writable(World.world().types(), Thing.Type, *Text)) {
            Text->Text = Command.Text.substr(0, LONGEST_TEXT);
            Text->Author = Actor.Name;
            return;
        }
}

void EditList(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command) {
    const std::optional<TPosition> Where = CloseText(Actor, Command.Identifier);
    TText* List = Where ? TextAt(World, *Where) : nullptr;
    if (List && List->List && List->ListKind == Command.ListKind) List->Text = Command.Text;
}

} // namespace

bool ShowText(TGameWorld& World, TPlayer& Actor, TPosition Where, uint16_t Type) {
    const TText* Found = TextAt(World, Where);
    if (!Found) return false;
    const TText& Text = *Found;
    const uint32_t Identifier = Actor.OpenTexts.empty() ? 1 : Actor.OpenTexts.rbegin()->first + 1;
    Actor.OpenTexts[Identifier] = Where;
    if (Text.List)
        Actor.send(ListDialogMessage(Text.ListKind, Identifier, Text.Text));
    else
        Actor.send(TextDialogMessage(Identifier, Type, LONGEST_TEXT, Text.Text, Text.Author));
    return true;
}

void AddTexts(THandlers& Handlers) {
    Handlers.add(COMMAND_EDIT_TEXT, EditText);
    Handlers.add(COMMAND_EDIT_LIST, EditList);
}

} // namespace testserver
