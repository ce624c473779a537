// The fourteen event hints: the title and the mark-up text of each, by hint number.
#include "screen/Help.h"

#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "state/EventHints.h"

namespace {

struct THint {
    const char* Title;
    const char* Text;
};

// Index Number - 1.
const THint Hints[EVENTHELPS] = {
    {"First Login",
     "<b>Welcome to Ebrun!<n>\n"
     "<br=5>Greetings wanderer! You are about to enter the mysterious world of Ebrun. These hints show you "
     "how to find your way around.\n"
     "<br=5><FONT=4>Your character stands in the middle of the map. Click on a field with the left mouse "
     "button to walk there, or walk step by step with the arrow keys; Ctrl and an arrow key turns you on "
     "the spot, and Escape stops you.\n"
     "<br=5>Click on anything with the right mouse button to open a menu of all you can do with it: look "
     "at it, use it, open it, attack or follow a creature, talk to a player. A right click with Shift "
     "looks at it straight away, with Ctrl it uses it.\n"
     "<br=5>To talk, type into the line at the bottom of the console and press Enter. Everybody near you "
     "can read it.\n"
     "<br=5>The side bar on the right holds the automap, your hit points and mana, your equipment and the "
     "buttons that open the skills, battle and VIP windows.\n"
     "<br=5>Whenever something new happens, a blinking button in the top right corner of the map offers "
     "the next hint. \"Hints\" in the help menu shows every hint again, and \"Client Help\" (Ctrl+H) "
     "explains each part of the screen under the mouse pointer. If you are stuck, \"Tutor Help\" (Ctrl+T) "
     "opens a channel where experienced players answer questions. You can switch these hints off with "
     "\"Show Hints\" in the options."},
    {"NPC Mirabald",
     "You have met an NPC (Non-Player-Character) called Mirabald. NPCs are characters played by the game "
     "itself: they sell and buy goods, teach, give advice and hand out tasks.\n"
     "<br=5><FONT=4>To talk to an NPC, stand close to it and greet it: type \"hi\" into the console while "
     "the tab \"Default\" is selected and press Enter. The NPC answers above its head and in the console. "
     "Words that it stresses in its answers are topics it knows about; say one of them to learn more. Say "
     "\"bye\" when you are done, or simply walk away. An NPC talks to one person at a time, so wait your "
     "turn if it is busy.\n"
     "<br=5>Mirabald knows the village well. Ask her for the \"way\" and she tells you where to find the "
     "academy, the shops, the temple and the harbour."},
    {"Brackwold Crossroad",
     "You have taken your first steps into the village of Brackwold. From this crossroad the roads lead to "
     "every place a newcomer needs.\n"
     "<br=5><FONT=4>The academy in the north is run by Hesketh, who teaches the basics of an adventurer's "
     "life; go there first. The shops lie around the market east of here: sell what you find and buy food, "
     "a torch, a rope or a shovel. The meadows south and west of the houses are home to rats, bugs and "
     "snakes, weak creatures that are good for your first fights. Do not wander too far at first; the "
     "forests beyond hide stronger beasts.\n"
     "<br=5>The automap in the top right corner of the side bar draws every field you have seen. Click on "
     "a spot of the automap to walk there. Click on it with the right mouse button and choose \"Set Mark\" "
     "to mark a place with an icon and a short note; the note shows when the mouse pointer rests on the "
     "mark. Marks are kept for your next visit.\n"
     "<br=5>Signs stand at the corners of the roads. Hold Shift and click on a sign with the right mouse "
     "button to read it; the text appears on the map and in the console."},
    {"NPC Hesketh",
     "The academy is the village's main building. It is run by Hesketh. He has trained young adventurers "
     "for many years.\n"
     "<br=5><FONT=4>Greet him with \"hi\" and ask him for a \"lesson\". He explains how to fight, how to "
     "loot the creatures you defeat and how to take care of your character. Listen well, since he may test "
     "you on what he taught. Come back whenever you want to hear a lesson again."},
    {"Buying & Selling",
     "In this shop you can trade with an NPC. Greet the merchant with \"hi\" and ask for the \"offer\" to "
     "hear what is for sale.\n"
     "<br=5><FONT=4>To buy, say what you want, for example \"buy torch\" or \"buy 3 apples\". The merchant "
     "names the price and asks whether you agree; answer \"yes\". The gold is taken from your backpack, so "
     "carry enough coins.\n"
     "<br=5>To sell, carry the item and say \"sell\" followed by its name. Not every merchant buys "
     "everything; ask what he is interested in.\n"
     "<br=5>Mind your capacity, shown as \"Cap\" below your equipment: it is the weight you can still "
     "carry. When it runs out you cannot pick up or buy anything more, so sell what you do not need."},
    {"Underground",
     "You have now entered a dungeon. Below the surface it is dark, and the creatures that live here are "
     "stronger than those on the meadows.\n"
     "<br=5><FONT=4>Carry a light: a torch in one of your hands lights up the fields around you. Without "
     "light the map stays black, and a right click on a field further than one step away only tells you "
     "\"You can't see anything.\" Torches burn down, so take a spare one along.\n"
     "<br=5>Keep an eye on the red bar of your hit points in the side bar. When it runs low, walk back to "
     "the surface and rest; eating helps you to recover faster. A character who dies loses experience and "
     "may lose some of his items.\n"
     "<br=5>Ladders lead up: stand next to a ladder and use it, with Ctrl and a right click or with "
     "\"Use\" from its menu. Holes, sewer grates and stairs lead down when you step onto them or use them. "
     "In help mode (Ctrl+H) the mouse pointer tells you what such a thing is for.\n"
     "<br=5>The automap shows one floor at a time. Its floor buttons let you look at the floors above and "
     "below, and \"Centre\" brings the view back to you. Mark the way out with \"Set Mark\" before you go "
     "deeper, so that you can find it again in a hurry."},
    {"First Experience Points",
     "<b>Congratulations!<n>\n"
     "<br=5>You have gained your first experience points (XP)! Every creature you defeat brings "
     "experience, and a strong creature brings more than a weak one.\n"
     "<br=5><FONT=4>Once you have gathered enough experience points you advance to the next level, and "
     "each new level raises your hit points, your mana and your capacity.\n"
     "<br=5>Press \"Skills\" in the side bar (or Ctrl+S) to see your experience and your level. The bar "
     "below the level shows how far you are on the way to the next one; rest the mouse pointer on the bar "
     "to read how many percent are still missing. A right click on the window lets you choose which of the "
     "bars are shown."},
    {"Advancing to Level 2",
     "You advanced to Level 2! Your maximum hit points and mana have grown, and so has your capacity: you "
     "can carry more than before.\n"
     "<br=5><FONT=4>With every level you can take on stronger creatures, but not all at once. Attack what "
     "you can beat, and watch the health bar that each creature shows above its head and in the battle "
     "window (Ctrl+B).\n"
     "<br=5>Choose how you fight with the buttons beside your equipment: offensive fighting deals more "
     "damage, defensive fighting keeps you safer, and balanced fighting lies in between.\n"
     "<br=5>Keep training, and rest when your hit points run low. At level 8 you may leave Brackwold and "
     "choose a vocation."},
    {"First Skill Advance",
     "You can check your character's current abilities by pressing the button labelled 'Skills' on the "
     "right side of the screen, or with Ctrl+S.\n"
     "<br=5><FONT=4>Skills grow by use: fighting with a sword trains sword fighting, blocking blows with a "
     "shield trains shielding, and casting spells raises your magic level. The skills window lists each "
     "skill with its level and a bar showing the way to the next level; the mouse pointer resting on a bar "
     "tells you the percent still to go. Click on the window with the right mouse button to choose which "
     "bars are shown."},
    {"Reaching Level 8",
     "Characters of Level 8 or higher may leave Brackwold and choose a vocation. A vocation decides how "
     "your character fights and which spells he can learn from then on, and it cannot be changed later, so "
     "choose with care.\n"
     "<br=5><FONT=4><b>Knights<n> fight in close combat with swords, axes and clubs. They wear the "
     "heaviest armour, have the most hit points and need little mana. <b>Paladins<n> are masters of "
     "distance fighting with bows, crossbows and spears, and know some spells of healing and attack. "
     "<b>Sorcerers<n> command the destructive forces of fire and energy; their spells hit hard, but their "
     "bodies are frail. <b>Druids<n> call on the powers of nature, of earth and ice, and are the best "
     "healers of all. Ask the NPCs of the village to learn more about each of them before you make up your "
     "mind.\n"
     "<br=5>The ship that takes you to the mainland waits at the harbour in the north of the village; "
     "greet the captain with \"hi\" and ask him for a \"passage\". Once you have left you cannot come "
     "back, so first spend your gold on equipment and take along what you want to keep. On the mainland "
     "every city has a temple where you can choose your vocation.\n"
     "<br=5>You do not have to leave at once. Many players stay a little longer to train their skills in "
     "the safety of Brackwold before they set out. Whatever you choose, the mainland is a harder place "
     "than the village: there you meet stronger creatures, and other players who may not be friendly."},
    {"Continent",
     "<b>Congratulations!<n>\n"
     "<br=5>You have finally mastered Brackwold and found your way to the mainland. Cities, forests, "
     "mountains and deep dungeons are waiting for you.\n"
     "<br=5><FONT=4>If you have not chosen a vocation yet, visit the temple of this city first and talk to "
     "the priest.\n"
     "<br=5>Here you meet many other players. Most of them are glad to help, and some may become your "
     "friends: click on a player with the right mouse button and choose \"Add to VIP list\". The VIP "
     "window (Ctrl+P) shows your friends in green while they are online and in red while they are not.\n"
     "<br=5>To talk with players far away, press Ctrl+O in the console and join a channel, or write a "
     "private message: type the name between asterisks before your text, for example *Jonas* hello. The "
     "same menu that adds a VIP lets you invite a player to a party, so that you can hunt together and "
     "share what you find.\n"
     "<br=5>Store your valuables in a depot; every city has one. And take care when you leave the city: "
     "outside its walls some players may attack you. Secure mode, a button beside your equipment, keeps "
     "you from hitting them by accident. Should you die, you wake up in the temple of your home town."},
    {"Depot",
     "You have entered a depot - a warehouse where players can safely store items. Every character has his "
     "own depot box in each town, and only he can open it.\n"
     "<br=5><FONT=4>Stand at one of the counters and open the depot box in front of you: click on it with "
     "the right mouse button and choose \"Open\", or hold Ctrl while you click. Its contents appear in a "
     "window on the right side of the screen. Drag items between that window, your backpack and the map to "
     "store them or take them out. To move only part of a stack, drop it without a key and enter the "
     "number; Ctrl moves the whole stack, Shift a single piece.\n"
     "<br=5>Whatever lies in your depot is safe even when your character dies, and it stays in the town "
     "where you left it; to use it elsewhere, carry the items there yourself or send them by mail. Keep "
     "what you do not need on your journeys there.\n"
     "<br=5>Next to the counters stands a mailbox. Put a labelled parcel or letter into it to send it to "
     "another player's depot. No one can attack you inside a depot, which makes it a good place to rest."},
    {"Player Killing",
     "<b>Watch out!<n>\n"
     "<br=5>You have just encountered a marked player. The skull shown beside his name, on the map and in "
     "the battle window, means that he has attacked or killed other players.\n"
     "<br=5><FONT=4>Such a player may attack you too. Keep your distance and, if he does attack, flee to a "
     "protection zone such as a temple or a depot, where nobody can fight.\n"
     "<br=5>Secure mode, one of the buttons beside your equipment, keeps you from attacking unmarked "
     "players by mistake. Leave it switched on unless you really mean to fight another player."},
    {"Level 20 and Security Information",
     "<b>Congratulations!<n>\n"
     "<br=5>You have reached level 20! Your character is now worth a lot of work, and there are people who "
     "would like to take it from you.\n"
     "<br=5><FONT=4>Never tell anybody your account number or your password, not even a friend and not "
     "even a gamemaster. Gamemasters never ask for them. The client refuses to send a line that contains "
     "your account number or password and warns you instead.\n"
     "<br=5>Log in only with this client and only on the official website www.pellarune.example. Programs "
     "and pages that promise free gold, items or levels are made to steal accounts. When you copy a link "
     "from the console, the client warns you for the same reason.\n"
     "<br=5>Choose a password that nobody can guess and use it nowhere else. Change it now and then on the "
     "website, and change it at once if you think someone else knows it. Never let a stranger log in for "
     "you, and do not run programs that others send you. If you lose access to your account, only the "
     "website can help you; a gamemaster in the game cannot."},
};

const THint& Hint(int32_t Number) {
    CHECK(In(Number, 1, EVENTHELPS), Number);
    return Hints[Number - 1];
}

} // namespace

const char* GetEventHelpTitle(int32_t Number) { return Hint(Number).Title; }

const char* GetEventHelpText(int32_t Number) { return Hint(Number).Text; }

int32_t FindEventHelp(const char* Title) {
    CHECK_TEXT(Title != nullptr, "Title!=NULL");
    for (int32_t Number = 1; Number <= EVENTHELPS; Number++)
        if (CompareNoCase(Hints[Number - 1].Title, Title, -1) == 0) return Number;
    return -1;
}
