// Trading between two players: each offers one thing (a container with all it holds), each sees both
// offers and may look at what they hold; when both have accepted the things change hands. A player who
// repeats its request while both offers stand shows its offer again, and both must accept anew.
#include "tools/testserver/GameWorld.h"
#include "tools/testserver/ItemMessages.h"
#include "tools/testserver/WorldRoads.h"
#include "tools/testserver/WorldThings.h"

namespace testserver {

namespace {

const std::string NOT_POSSIBLE = "Sorry, not possible.";

TThing* Offered(TGameWorld& World, TPlayer& Player) {
    TThing* Thing = ThingAt(World, Player, Player.Trade.Offered);
    return Thing && Thing->Type == Player.Trade.Type ? Thing : nullptr;
}

std::vector<TThing> OfferOf(TGameWorld& World, TPlayer& Player) {
    const TThing* Thing = Offered(World, Player);
    return Thing ? Flatten(World.world(), *Thing) : std::vector<TThing>{};
}

// The partner whose offer to the player stands beside the player's own; null when there is none.
TPlayer* CounterPart(TGameWorld& World, const TPlayer& Player) {
    TPlayer* Partner = Player.Trade.Partner != 0 ? World.player(Player.Trade.Partner) : nullptr;
    return Partner && Partner->Trade.Partner == Player.Id ? Partner : nullptr;
}

// Shows each side the other's offer: the partner's window opens with Accept, or offers Accept again.
void ShowCounterOffers(TGameWorld& World, TPlayer& Player, TPlayer& Partner) {
    const TObjectTypes& Types = World.world().types();
    Player.send(CounterOfferMessage(Partner.Name, OfferOf(World, Partner), Types));
    Partner.send(CounterOfferMessage(Player.Name, OfferOf(World, Player), Types));
}

// Ends the player's trade and the partner's; each window closes.
void End(TGameWorld& World, TPlayer& Player, std::string_view Text) {
    if (Player.Trade.Partner == 0) return;
    for (TPlayer* Side : {CounterPart(World, Player), &Player}) {
        if (!Side) continue;
        Side->Trade = {};
        Side->send(CloseTradeMessage());
        Side->send(SystemMessage(TALK_EVENT_STATUS, Text));
    }
}

// The spot a second taking out reads after a first one took a whole thing out of the same field or
// container before it.
TSpot AfterTaking(TSpot Later, const TSpot& Taken) {
    const bool Same = Later.Kind == Taken.Kind && Later.Kind != TSpot::TKind::Body &&
                      Later.Where == Taken.Where && Later.Container == Taken.Container;
    if (Same && Later.Index > Taken.Index) --Later.Index;
    return Later;
}

void Exchange(TGameWorld& World, TPlayer& First, TPlayer& Second) {
    const TThing* FirstThing = Offered(World, First);
    const TThing* SecondThing = Offered(World, Second);
    if (!FirstThing || !SecondThing) return End(World, First, "Trade cancelled.");
    if (!GiftSpot(World, Second, *FirstThing) || !GiftSpot(World, First, *SecondThing))
        return End(World, First, "There is not enough room.");
    const uint8_t FirstCount = FirstThing->Data, SecondCount = SecondThing->Data; // whole stacks
    const TSpot FirstSpot = First.Trade.Offered;
    const TThing FromFirst = Take(World, First, FirstSpot, FirstCount);
    const TThing FromSecond = Take(World, Second, AfterTaking(Second.Trade.Offered, FirstSpot), SecondCount);
    Give(World, Second, FromFirst);
    Give(World, First, FromSecond);
    First.Trade = Second.Trade = {};
    First.send(CloseTradeMessage());
    Second.send(CloseTradeMessage());
    CloseWindowsOutOfReach(World);
}

void Request(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command) {
    TPlayer* Partner = World.player(Command.CreatureId);
    if (!Partner || Partner == &Actor) return Refuse(Actor, NOT_POSSIBLE);
    if (Actor.Trade.Partner != 0) {
        if (CounterPart(World, Actor) != Partner) return Refuse(Actor, "You are already trading.");
        Actor.Trade.Accepted = Partner->Trade.Accepted = false;
        return ShowCounterOffers(World, Actor, *Partner);
    }
    if (Partner->Trade.Partner != 0 && Partner->Trade.Partner != Actor.Id)
        return Refuse(Actor, "This person is already trading.");
    const TFound Found = Find(World, Actor, Command.Place, Command.StackPosition, Command.ObjectType);
    if (!Found.Thing || Found.Thing->Type == CREATURE ||
        World.world().types().hasFlag(Found.Thing->Type, FLAG_UNMOVABLE))
        return Refuse(Actor, "You cannot trade this object.");
    if (!WithinReach(World, Actor, Found.Spot)) return Refuse(Actor, "Too far away.");
    Actor.Trade = {Partner->Id, Found.Spot, Found.Thing->Type, false};
    Actor.send(OwnOfferMessage(Actor.Name, OfferOf(World, Actor), World.world().types()));
    if (Partner->Trade.Partner == Actor.Id)
        ShowCounterOffers(World, Actor, *Partner);
    else
        Partner->send(SystemMessage(TALK_EVENT_STATUS, Actor.Name + " wants to trade with you."));
}

void LookAtOffer(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command) {
    TPlayer* Owner = Command.Side == 0 ? &Actor : CounterPart(World, Actor);
    if (!Owner || Actor.Trade.Partner == 0) return;
    const std::vector<TThing> Items = OfferOf(World, *Owner);
    if (Command.StackPosition < Items.size())
        Actor.send(SystemMessage(TALK_EVENT_STATUS, LookText(World, Actor, &Items[Command.StackPosition])));
}

void Accept(TGameWorld& World, TPlayer& Actor, const TClientCommand&) {
    TPlayer* Partner = CounterPart(World, Actor);
    if (!Partner) return;
    Actor.Trade.Accepted = true;
    if (Partner->Trade.Accepted) Exchange(World, Actor, *Partner);
}

void Close(TGameWorld& World, TPlayer& Actor, const TClientCommand&) {
    End(World, Actor, "Trade cancelled.");
}

} // namespace

void CancelTrade(TGameWorld& World, TPlayer& Player) { End(World, Player, "Trade cancelled."); }

void AddTrade(THandlers& Handlers) {
    Handlers.add(COMMAND_TRADE, Request);
    Handlers.add(COMMAND_LOOK_TRADE, LookAtOffer);
    Handlers.add(COMMAND_ACCEPT_TRADE, Accept);
    Handlers.add(COMMAND_CLOSE_TRADE, Close);
}

} // namespace testserver
