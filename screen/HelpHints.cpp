// The fourteen event hints: the title and the mark-up text of each, by hint number.
#define EBRUN_SOURCE_NAME "Help.cpp"
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
     "<br=5>Greetings wanderer! You are about to enter the mysterious world of Ebrun. Before you set out, "
     "take a few moments to read these hints. They will help you to find your way during your first steps.\n"
     "<br=5>You see your character in the middle of the game window. To walk, click on a free field of the "
     "map with the left mouse button, or use the arrow keys of your keyboard. Your character will walk there "
     "on the shortest way it can find.\n"
     "<br=5>To look at an object or a creature, hold Shift and click on it. The description appears in the "
     "console and on the screen. To use an object, for example to open a door or a chest, click on it with "
     "the right mouse button.\n"
     "<br=5>The console at the bottom of the screen shows what other players say and what happens around "
     "you. Type a text and press Enter to talk to the characters near you.\n"
     "<br=5>On the right side you find your inventory with the items you carry, your hit points and mana, "
     "and the buttons that open further windows.\n"
     "<br=5>Whenever something new happens, a blinking button in the top corner of the game window offers "
     "you another hint. You can read every hint again later: open the help menu with the 'Help' button and "
     "choose 'Hints'.\n"
     "<br=5>Now go and explore the village of Brackwold. Good luck!"},
    {"NPC Mirabald",
     "You have met an NPC (Non-Player-Character) called Mirabald. NPCs are characters that are controlled by "
     "the game. Many of them sell or buy items, some give advice and others have a quest for you.\n"
     "<br=5>To talk to an NPC, stand near it and type 'hi' in the console, then press Enter. The NPC will "
     "answer you. Words that the NPC reacts to are often shown in its answers; type them to learn more. "
     "Type 'bye' when you want to end the conversation.\n"
     "<br=5>Mirabald is the guide of this village. Ask her for the 'way' to the other places of Brackwold, "
     "or about the 'academy' where you can learn the basics of your adventurer's life."},
    {"Brackwold Crossroad",
     "You have taken your first steps into the village of Brackwold. This crossroad lies in the centre of "
     "the "
     "village; from here roads lead to every important place.\n"
     "<br=5>To the north you find the academy, the village's main building. Visit it first: its teacher will "
     "tell you what you have to know about the life of an adventurer.\n"
     "<br=5>To the east lie the shops. There you can sell what you find and buy weapons, armour, food and "
     "tools such as a rope or a shovel.\n"
     "<br=5>Beyond the houses in the south and west lie the fields and meadows where the weak creatures of "
     "the island live: rats, bugs and snakes. Fight them to gain experience, but do not stray too far.\n"
     "<br=5>If your hit points are low, rest for a while. Eat food to regain your hit points and mana "
     "faster.\n"
     "<br=5>Take a look at the automap in the top right corner of the screen. It shows the places you have "
     "already seen, and you can mark interesting spots on it."},
    {"NPC Hesketh",
     "The academy is the village's main building. It is run by Hesketh. He teaches young adventurers the "
     "basics of fighting, looting and trading.\n"
     "<br=5>Greet him with 'hi' and ask him for a 'lesson'. Listen to what he tells you: the answers to his "
     "questions will be of use on your travels."},
    {"Buying & Selling",
     "In this shop you can trade with an NPC. Greet the merchant with 'hi' and ask for a 'trade' or for his "
     "'offers' to learn what he sells.\n"
     "<br=5>To buy an item, say its name, for example 'buy torch'. The merchant tells you the price and asks "
     "you to confirm; answer 'yes'. The money is taken from the gold in your inventory.\n"
     "<br=5>To sell an item, carry it with you and say 'sell' followed by its name. Not every merchant buys "
     "everything: ask him what he is interested in.\n"
     "<br=5>Check the weight of what you buy: a character cannot carry more than his capacity allows."},
    {"Underground",
     "You have now entered a dungeon. Dungeons are dark and dangerous: stronger creatures than on the "
     "surface "
     "live here, and some of them may be too strong for you.\n"
     "<br=5>Carry a light with you. A torch in one of your hands lights up the fields around you; without it "
     "you will hardly see anything. You can buy torches in the shops of the village.\n"
     "<br=5>Watch your hit points. If they drop, leave the dungeon and rest before you go on. When your "
     "character dies, he loses experience and possibly some of his items.\n"
     "<br=5>Ladders and sewer grates lead up and down. To climb a ladder, use it with the right mouse "
     "button. "
     "Holes and stairs take you down when you step onto them.\n"
     "<br=5>Some passages are blocked by stones or bushes. A shovel or a pick may be needed to get through."},
    {"First Experience Points",
     "<b>Congratulations!<n>\n"
     "<br=5>You have gained your first experience points (XP)! You receive experience points for every "
     "creature you defeat. The stronger the creature, the more points it is worth.\n"
     "<br=5>Once you have gathered enough experience points, you advance to the next level. With every level "
     "your hit points, your mana and your capacity grow.\n"
     "<br=5>Open the skills window to see how many experience points you have and how many you need for the "
     "next level."},
    {"Advancing to Level 2",
     "You advanced to Level 2! Your maximum hit points, your mana and your capacity have increased.\n"
     "<br=5>The higher your level, the stronger the creatures you can face. But take care: some creatures "
     "will still be too strong for you for a long time.\n"
     "<br=5>Keep on training and exploring the island. When you reach level 8, you can leave the island and "
     "choose a vocation."},
    {"First Skill Advance",
     "You can check your character's current abilities by pressing the button labelled 'Skills' on the right "
     "side of the screen.\n"
     "<br=5>Your skills improve by using them: fighting with a sword trains the sword fighting skill, "
     "defending yourself with a shield trains shielding, and so on. The skills window shows the level of "
     "each skill and a bar with the progress towards the next one."},
    {"Reaching Level 8",
     "Characters of Level 8 or higher may leave Brackwold and choose a vocation. There are four vocations: "
     "knights, paladins, sorcerers and druids.\n"
     "<br=5><b>Knights<n> are strong fighters in close combat with the best armour and many hit points.\n"
     "<br=5><b>Paladins<n> are masters of distance weapons such as bows and spears, and know some magic.\n"
     "<br=5><b>Sorcerers<n> command powerful attack spells and have much mana.\n"
     "<br=5><b>Druids<n> are healers who also command the forces of nature.\n"
     "<br=5>Think carefully before you leave: you cannot return to the island, and your vocation cannot be "
     "changed later. Ask the NPCs of the village about the vocations to learn more.\n"
     "<br=5>The ship that takes you to the mainland waits at the harbour in the north of the village."},
    {"Continent",
     "<b>Congratulations!<n>\n"
     "<br=5>You have finally mastered Brackwold and found your way to the mainland. A large world full of "
     "cities, forests, mountains and dungeons awaits you.\n"
     "<br=5>The first thing you should do is to visit the temple of this city and choose your vocation, if "
     "you have not done so yet.\n"
     "<br=5>On the mainland you meet many other players. Most of them are friendly and helpful, but be "
     "careful: some players attack others. Keep your valuables in a depot.\n"
     "<br=5>Many new NPCs, shops and quests wait for you. Explore the city and ask its inhabitants for "
     "work."},
    {"Depot",
     "You have entered a depot - a warehouse where players can safely store items. Every character has his "
     "own depot box in every town, which only he can open.\n"
     "<br=5>To store an item, drag it from your inventory onto the depot box in front of the counter. To "
     "take "
     "something out, use the box with the right mouse button and drag the item into your inventory.\n"
     "<br=5>Items in a depot box are safe: they are not lost when your character dies. Keep whatever you do "
     "not need on your travels there.\n"
     "<br=5>In the depot you also find a mailbox. Use it to send parcels and letters to other players."},
    {"Player Killing",
     "<b>Watch out!<n>\n"
     "<br=5>You have just encountered a marked player. The skull beside his name shows that he has attacked "
     "or killed other players recently.\n"
     "<br=5>Be careful: such a player may attack you as well. If you are attacked, flee to a protection zone "
     "such as a temple or a depot, where nobody can fight.\n"
     "<br=5>Attacking players without reason is punished: a player who kills too many others loses more when "
     "he dies."},
    {"Level 20 and Security Information",
     "<b>Congratulations!<n>\n"
     "<br=5>You have reached level 20! Your character has become a valuable possession, so protect him "
     "well.\n"
     "<br=5>Never tell anybody your account number or your password, not even a friend or somebody who "
     "claims "
     "to be a gamemaster. Gamemasters will never ask you for your password.\n"
     "<br=5>Only log in through this client and only on the website www.pellarune.example. Fake websites and "
     "programs that promise gold or items are made to steal accounts.\n"
     "<br=5>Choose a password that nobody can guess and change it from time to time on the website."},
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
