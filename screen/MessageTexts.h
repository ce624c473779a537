// The fixed user-visible texts of the screens, dialogs and reports, taken by index (0 to 147).
#pragma once

#include <cstdint>

inline constexpr int32_t NUMBER_OF_MESSAGE_TEXTS = 148;

// Latin-1 texts; several entries repeat another on purpose. Entry 147 is the pattern that recognises a web
// link in a text.
inline constexpr const char* MessageTexts[NUMBER_OF_MESSAGE_TEXTS] = {
    /*   0 */ "You are poisoned",
    /*   1 */ "You are on fire",
    /*   2 */ "You are protected by a magic shield",
    /*   3 */ "You are paralysed",
    /*   4 */ "You are hasted",
    /*   5 */ "You may not logout during a fight",
    /*   6 */ "You are drunk",
    /*   7 */ "You are struck by magical energy",
    /*   8 */ "You may be attacked by other players",
    /*   9 */ "You are a member of a party",
    /*  10 */ "You have attacked an unmarked player",
    /*  11 */ "You have killed too many unmarked players",
    /*  12 */ "Close this Channel (Ctrl+E)",
    /*  13 */ "Show server messages in this channel (Ctrl+M)",
    /*  14 */ "Hide server messages in this channel (Ctrl+M)",
    /*  15 */ "Ignore and unignore other players (Ctrl+I)",
    /*  16 */ "Open new channel (Ctrl+O)",
    /*  17 */ "Adjust volume",
    /*  18 */ "Move channels to the right",
    /*  19 */ "Move channels to the left",
    /*  20 */ "Maximise inventory",
    /*  21 */ "Minimise inventory",
    /*  22 */ "Close this window",
    /*  23 */ "Maximise or minimise window",
    /*  24 */ "Show higher container",
    /*  25 */ "Open skills window (Ctrl+S)",
    /*  26 */ "Close skills window (Ctrl+S)",
    /*  27 */ "Open battle window (Ctrl+B)",
    /*  28 */ "Close battle window (Ctrl+B)",
    /*  29 */ "Open VIP window (Ctrl+P)",
    /*  30 */ "Close VIP window (Ctrl+P)",
    /*  31 */ "Leave the game (Ctrl+Q or Ctrl+L)",
    /*  32 */ "Centre around player",
    /*  33 */ "Show higher floor (Alt+PageUp)",
    /*  34 */ "Show lower floor (Alt+PageDown)",
    /*  35 */ "Zoom in (Alt+End)",
    /*  36 */ "Zoom out (Alt+Home)",
    /*  37 */ "Scroll automap (Alt+Cursor)",
    /*  38 */ "Offensive fighting",
    /*  39 */ "Balanced fighting",
    /*  40 */ "Defensive fighting",
    /*  41 */ "Stand while fighting",
    /*  42 */ "Chase opponent",
    /*  43 */ "You cannot attack unmarked characters",
    /*  44 */ "You can attack any character",
    /*  45 */ "Stop current action (ESC)",
    /*  46 */ "Open options",
    /*  47 */ "Open help menu",
    /*  48 */ "Cancel offer",
    /*  49 */ "Reject offer",
    /*  50 */ "Accept offer",
    /*  51 */ "Receive hint",
    /*  52 */ "You have %d percent to go",
    /*  53 */ "Switch to DirectX 5 Engine",
    /*  54 */ "Switch to DirectX 9 Engine",
    /*  55 */ "Switch to OpenGL Engine",
    /*  56 */ "Please wait for a\ncounteroffer",
    /*  57 */ "Please wait for \nyour partner to accept.",
    /*  58 */ "Account number:",
    /*  59 */ "Password:",
    /*  60 */ "If you don't have\nan account yet:",
    /*  61 */ "Select character:",
    /*  62 */ "Trying to reconnect in %d %s.",
    /*  63 */ "Set the number of\nitems you want to move:",
    /*  64 */ "Choose an outfit and determine the colours of the various\nparts of your character's body",
    /*  65 */ "Select a channel:",
    /*  66 */ "Open a private message channel:",
    /*  67 */ "Please enter a character name:",
    /*  68 */
    "Please state the rule violation in one\nclear sentence and wait for a reply\nfrom a gamemaster.\nPlease "
    "note that your message will\ndisappear if you close this channel.",
    /*  69 */ "Please use this dialog only to report bugs.\nDo not report rule violations here!",
    /*  70 */ "Select a type:",
    /*  71 */ "Please enter a character name:",
    /*  72 */ "Enter a short description:",
    /*  73 */ "Please enter a filename:",
    /*  74 */ "Downloading new pictures",
    /*  75 */ "Downloading new object data",
    /*  76 */ "Downloading new object graphics",
    /*  77 */ "Click here to get\ninfo on the client.",
    /*  78 */ "Show previous hints",
    /*  79 */ "Ask a tutor for help",
    /*  80 */ "Report rule violations",
    /*  81 */ "Read the manual on\nthe website",
    /*  82 */ "Read the FAQ on\nthe website.",
    /*  83 */ "Available hints:",
    /*  84 */ "Change general\ngame options",
    /*  85 */ "Change graphics and\nperformance settings",
    /*  86 */ "Customise the console",
    /*  87 */ "Change network settings",
    /*  88 */ "Edit your hotkey texts",
    /*  89 */ "Show the most recent\nMessage of the Day",
    /*  90 */ "Server address:",
    /*  91 */ "Server port:",
    /*  92 */ "Advanced settings",
    /*  93 */ "Available resolutions:",
    /*  94 */ "Select graphics engine:",
    /*  95 */ "Available hotkeys:",
    /*  96 */ "Edit hotkey text:",
    /*  97 */ "Welcome to Pellarune772",
    /*  98 */ "Official Website",
    /*  99 */ "Characters you wish to ignore:",
    /* 100 */ "Global settings for ignoring messages:",
    /* 101 */ "Characters you allow to message you:",
    /* 102 */ "Global settings for allowing messages:",
    /* 103 */ "Enter one name per line.",
    /* 104 */ "It is empty.",
    /* 105 */ "It is currently empty.",
    /* 106 */ "You read the following.",
    /* 107 */ "You can enter new text.",
    /* 108 */ "You read the following, written by",
    /* 109 */ "Your character list is being loaded. Please wait.",
    /* 110 */ "Connecting to the game world. Please wait.",
    /* 111 */ "Please wait for your character list.",
    /* 112 */ "Select a type:",
    /* 113 */ "Enter a short description:",
    /* 114 */
    "Warning!\nYou are about to copy a link. Keep in mind that unofficial\nwebsites may be used to hack your "
    "account! Continue?",
    /* 115 */
    "Warning!\nNever give your account number or your password to anybody!\nNot even gamemasters or Harnwel "
    "members will need this data.\nPeople asking you for this information are trying to hack you!",
    /* 116 */
    "The Pellarune encountered a critical error and had to be stopped.\r\n\r\nA detailed error report has "
    "been written to the error file which\r\nyou are asked to submit at your next login.",
    /* 117 */ "At your last visit in Pellarune client crashed",
    /* 118 */ "Please tell us what you were doing just before the crash:\n",
    /* 119 */ "Please wait patiently for a gamemaster to reply.",
    /* 120 */ "You have already submitted a request. Please be patient.",
    /* 121 */ "You have already submitted a request. Please close the current request.",
    /* 122 */
    "Welcome to the help channel! Feel free to ask questions concerning client controls, general game play, "
    "use of accounts and the official homepage. In-depth questions about the content of the game will not be "
    "answered. Experienced players will be glad to help you to the best of their knowledge. Keep in mind "
    "that this is not a chat channel for general conversations. Therefore please limit your statements to "
    "relevant questions and answers.",
    /* 123 */ "You cannot set up a private message channel with yourself.",
    /* 124 */ "You are not authorised to send bug reports.",
    /* 125 */ "Select a player to trade with.",
    /* 126 */ "Your request has been closed.",
    /* 127 */ "The channel has been closed. You need to re-join the channel if you get invited.",
    /* 128 */ "No playername given.",
    /* 129 */ "No reason has been selected.",
    /* 130 */ "No action has been selected.",
    /* 131 */ "You must enter a comment.",
    /* 132 */ "No statement has been selected.",
    /* 133 */ "You cannot report this statement.",
    /* 134 */ "You are permanently ignoring players.",
    /* 135 */ "http://www.pellarune.example",
    /* 136 */ "http://www.pellarune.example/guide/?subtopic=manual",
    /* 137 */ "http://www.pellarune.example/guide/?subtopic=faq",
    /* 138 */ "http://www.pellarune.example/guide/?subtopic=manual&section=options",
    /* 139 */ "http://www.pellarune.example/guide/?subtopic=manual&section=options#graphicsoptions",
    /* 140 */ "http://www.pellarune.example/guide/?subtopic=manual&section=options#graphicsoptions",
    /* 141 */ "http://www.pellarune.example/guide/?subtopic=manual&section=options#consoleoptions",
    /* 142 */ "http://www.pellarune.example/guide/?subtopic=manual&section=options#networkoptions",
    /* 143 */ "https://www.pellarune.example/",
    /* 144 */ "www.pellarune.example",
    /* 145 */ "Rule Violations",
    /* 146 */ "Report Rule Violation",
    /* 147 */
    "(^|[ "
    ".,:;/"
    "@<>|()\"\n\r%])(([a-z0-9-]+(\\.|\\%2e))+(ac|ad|ae|aero|af|ag|ai|al|am|an|ao|aq|ar|arpa|as|at|au|aw|az|"
    "ba|bb|bd|be|bf|bg|bh|bi|biz|bj|bm|bn|bo|br|bs|bt|bv|bw|by|bz|ca|cc|cd|cf|cg|ch|ci|ck|cl|cm|cn|co|com|"
    "coop|cr|cu|cv|cx|cy|cz|de|dj|dk|dm|do|dz|ec|edu|ee|eg|er|es|et|eu|fi|fj|fk|fm|fo|fr|ga|gb|gd|ge|gf|gg|"
    "gh|gi|gl|gm|gn|gov|gp|gq|gr|gs|gt|gu|gw|gy|hk|hm|hn|hr|ht|hu|id|ie|il|im|in|info|int|io|iq|ir|is|it|je|"
    "jm|jo|jobs|jp|ke|kg|kh|ki|km|kn|kr|kw|ky|kz|la|lb|lc|li|lk|lr|ls|lt|lu|lv|ly|ma|mc|md|mg|mh|mil|mk|ml|"
    "mm|mn|mo|mobi|mp|mq|mr|ms|mt|mu|museum|mv|mw|mx|my|mz|na|name|nc|ne|net|nf|ng|ni|nl|no|np|nr|nu|nz|om|"
    "org|pa|pe|pf|pg|ph|pk|pl|pm|pn|pr|pro|ps|pt|pw|py|qa|re|ro|ru|rw|sa|sb|sc|sd|se|sg|sh|si|sj|sk|sl|sm|sn|"
    "so|sr|st|su|sv|sy|sz|tc|td|tf|tg|th|tj|tk|tl|tm|tn|to|tp|tr|travel|tt|tv|tw|tz|ua|ug|uk|um|us|uy|uz|va|"
    "vc|ve|vg|vi|vn|vu|wf|ws|ye|yt|yu|za|zm|zw)\\.?|[0-9][0-9]?[0-9]?(\\.|\\%2e)[0-9][0-9]?[0-9]?(\\.|\\%2e)["
    "0-9][0-9]?[0-9]?(\\.|\\%2e)[0-9][0-9]?[0-9]?)([?#& .,:;/@<>|()\"\r\n%]|$)",
};
