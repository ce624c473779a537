// The options file Ebrun.cfg: defaults, reading at start-up and writing in a fixed key order.
#include "foundation/Exception.h"
#include "foundation/Script.h"
#include "foundation/Utils.h"
#include "foundation/sysinc.h"
#include "state/Preferences.h"
#include "state/PreferencesData.h"
#include "state/TalkBuffer.h"
#include "state/TalkRouting.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

constexpr const char* OPTIONS_FILE = "Ebrun.cfg";
// Files that could not be read are kept as Ebrun.cfg.bad, then Ebrun.cfg.bad.1 up to this number.
constexpr int32_t LAST_BAD_FILE = 99;

// Set by LoadOptions; SaveOptions writes nothing before. OptionsFileFaulty: the file on disk could not be
// read, so it is kept aside before the first save replaces it.
bool OptionsLoaded = false;
bool OptionsFileFaulty = false;

struct TFlagKey {
    const char* Key;
    bool TOptionValues::*Flag;
};

struct TNumberKey {
    const char* Key;
    int32_t TOptionValues::*Number;
};

constexpr TFlagKey FlagKeys[] = {
    {"testserver", &TOptionValues::TestServer},
    {"windowsmousepointer", &TOptionValues::WindowsMousepointer},
    {"lighteffects", &TOptionValues::LightEffects},
    {"textualeffects", &TOptionValues::TextualEffects},
    {"buddyhideoffline", &TOptionValues::BuddyHideOffline},
    {"infomessages", &TOptionValues::InfoMessages},
    {"eventmessages", &TOptionValues::EventMessages},
    {"statusmessages", &TOptionValues::StatusMessages},
    {"timestamps", &TOptionValues::TimeStamps},
    {"privatemessages", &TOptionValues::PrivateMessages},
    {"classiccontrol", &TOptionValues::ClassicControl},
    {"autochaseoff", &TOptionValues::AutoChaseOff},
    {"shownewhints", &TOptionValues::ShowNewHints},
    {"levelbar", &TOptionValues::LevelBar},
    {"maglevelbar", &TOptionValues::MagLevelBar},
};

constexpr TNumberKey NumberKeys[] = {
    {"creatureinfo", &TOptionValues::CreatureInfo},
    {"confineframerate", &TOptionValues::ConfineFramerate},
    {"engine", &TOptionValues::Engine},
    {"consoleheight", &TOptionValues::ConsoleHeight},
    {"automapzoom", &TOptionValues::AutomapZoom},
    {"lastmotd", &TOptionValues::LastMotD},
    {"attackmode", &TOptionValues::AttackMode},
};

bool ReadYes(TScriptReader& Reader) { return std::strcmp(Reader.readIdentifier(), "yes") == 0; }

// Reads "(" n1 "," n2 ... ")" into Numbers.
void ReadTuple(TScriptReader& Reader, int32_t* Numbers, int32_t Count) {
    Reader.readSymbol('(');
    for (int32_t i = 0; i < Count; i++) {
        if (i > 0) Reader.readSymbol(',');
        Numbers[i] = Reader.readNumber();
    }
    Reader.readSymbol(')');
}

// A name of the white or ignore list as a list entry can keep it: cut to the entry's length, since the lists
// look a name up whole and a longer one given twice would make two entries; and its line feeds blanks, as
// the lists hand their names on separated by line feeds, so a save would split it into two names.
struct TListedName {
    char Text[TALK_NAME_LENGTH];
};
TListedName ListedName(const char* Name) {
    TListedName Listed;
    CopyString(Listed.Text, Name);
    std::replace(std::begin(Listed.Text), std::end(Listed.Text), '\n', ' ');
    return Listed;
}

// Reads "{" items separated by "," "}"; Item reads the current token as one item.
template <typename F> void ReadSet(TScriptReader& Reader, F&& Item) {
    Reader.readSymbol('{');
    for (;;) {
        Reader.nextToken();
        if (Reader.Token == TOKEN_SPECIAL && Reader.Special == '}') return;
        if (Reader.Token == TOKEN_SPECIAL && Reader.Special == ',') continue;
        Item();
    }
}

void ReadHotkey(TScriptReader& Reader, TOptionValues& Values) {
    Reader.readSymbol('(');
    int32_t Number = Reader.readNumber();
    if (!In(Number, 0, HOTKEYS - 1)) Reader.error("Illegal number");
    Reader.readSymbol(',');
    char* Text = Values.Hotkeys[Number];
    CopyString(Text, Reader.readString(), HOTKEY_LENGTH);
    Reader.readSymbol(')');
    size_t Length = std::strlen(Text);
    // A line feed at the end stands for AutoSend; any other one becomes a blank.
    Values.HotkeyAutoSend[Number] = Length > 0 && Text[Length - 1] == '\n';
    if (Values.HotkeyAutoSend[Number]) Text[Length - 1] = 0;
    for (char* c = Text; *c != 0; c++)
        if (*c == '\n') *c = ' ';
}

void ReadBuddy(TScriptReader& Reader, TOptionsData& Data) {
    TBuddy Record{};
    Reader.readSymbol('(');
    Record.CharacterID = static_cast<uint32_t>(Reader.readNumber());
    Reader.readSymbol(',');
    Record.Icon = Reader.readNumber();
    Reader.readSymbol(',');
    CopyString(Record.Description, Reader.readString(), BUDDYDESCRIPTION_LENGTH);
    Reader.readSymbol(',');
    Record.NotifyLogin = ReadYes(Reader);
    Reader.readSymbol(')');
    Data.Buddies.append(Record);
}

void ReadWindowedMode(TScriptReader& Reader, TOptionValues& Values) {
    Reader.readSymbol('(');
    int32_t* Numbers[] = {&Values.WindowedX, &Values.WindowedY, &Values.WindowedWidth,
                          &Values.WindowedHeight};
    for (int32_t* Number : Numbers) {
        *Number = Reader.readNumber();
        Reader.readSymbol(',');
    }
    Values.WindowedMaximized = ReadYes(Reader);
    Reader.readSymbol(')');
}

// Keys whose value is a list or a record. A key the format does not know reads nothing.
void ReadCompoundValue(TScriptReader& Reader, const char* Key, TOptionsData& Data) {
    TOptionValues& Values = Data.Values;
    int32_t Numbers[3];
    if (std::strcmp(Key, "fullscreenmode") == 0) {
        ReadTuple(Reader, Numbers, 3);
        Values.FullscreenMode.Width = Numbers[0];
        Values.FullscreenMode.Height = Numbers[1];
        Values.FullscreenMode.Depth = Numbers[2];
    } else if (std::strcmp(Key, "windowedmode") == 0) {
        ReadWindowedMode(Reader, Values);
    } else if (std::strcmp(Key, "buddysortmethods") == 0) {
        ReadTuple(Reader, Values.BuddySortmethods, 3);
    } else if (std::strcmp(Key, "contentwindow") == 0) {
        ReadTuple(Reader, Numbers, 2);
        Data.ContentWindow.append({Numbers[0], Numbers[1]});
    } else if (std::strcmp(Key, "hotkey") == 0) {
        ReadHotkey(Reader, Values);
    } else if (std::strcmp(Key, "buddy") == 0) {
        ReadBuddy(Reader, Data);
    } else if (std::strcmp(Key, "white") == 0) {
        ReadSet(Reader, [&] { AddToWhiteList(ListedName(Reader.getString()).Text, true); });
    } else if (std::strcmp(Key, "ignore") == 0) {
        ReadSet(Reader, [&] { AddToIgnoreList(ListedName(Reader.getString()).Text, true); });
    } else if (std::strcmp(Key, "knownhints") == 0) {
        ReadSet(Reader, [&] { Data.KnownHints.append(Reader.getNumber()); });
    } else if (std::strcmp(Key, "skillbars") == 0) {
        for (bool& Shown : Values.SkillBars)
            Shown = false;
        ReadSet(Reader, [&] { SetSkillBar(Reader.getNumber(), true); });
    }
}

// Keys whose value is one token; false for any other key.
bool ReadSimpleValue(TScriptReader& Reader, const char* Key, TOptionsData& Data) {
    TOptionValues& Values = Data.Values;
    for (const TFlagKey& Entry : FlagKeys)
        if (std::strcmp(Key, Entry.Key) == 0) {
            Values.*Entry.Flag = ReadYes(Reader);
            return true;
        }
    for (const TNumberKey& Entry : NumberKeys)
        if (std::strcmp(Key, Entry.Key) == 0) {
            Values.*Entry.Number = Reader.readNumber();
            return true;
        }
    if (std::strcmp(Key, "nostretching") == 0) {
        Values.NoStretching = ReadYes(Reader) ? 1 : 0;
    } else if (std::strcmp(Key, "chasemode") == 0) {
        int32_t Number = Reader.readNumber();
        Values.ChaseMode = Number == 2 ? 0 : Number;
    } else if (std::strcmp(Key, "securemode") == 0) {
        Values.SecureMode = Reader.readNumber() == 1;
    } else if (std::strcmp(Key, "opendialogs") == 0) {
        int32_t Number = Reader.readNumber();
        if (!Data.OpenDialogs.contains(Number)) Data.OpenDialogs.append(Number);
    } else if (std::strcmp(Key, "openchannel") == 0) {
        Data.OpenChannel.append(Reader.readNumber());
    } else if (std::strcmp(Key, "serveraddress") == 0) {
        Reader.readString();
    } else if (std::strcmp(Key, "serverport") == 0) {
        Reader.readNumber();
    } else if (std::strcmp(Key, "loginmessages") == 0) {
        Reader.readIdentifier();
    } else {
        return false;
    }
    return true;
}

// Reads "key = value" lines to the end of the file. An unknown key reads no value, so the file fails at
// the value's first token, which is taken for the next key.
void ReadOptionsFile(TScriptReader& Reader) {
    for (;;) {
        Reader.nextToken();
        if (Reader.Token == TOKEN_END) break;
        if (Reader.Token != TOKEN_IDENTIFIER) Reader.error("Identifier expected");
        char Key[20];
        CopyString(Key, Reader.getIdentifier());
        Reader.readSymbol('=');
        if (!ReadSimpleValue(Reader, Key, Options())) ReadCompoundValue(Reader, Key, Options());
    }
    Reader.close();
}

const char* YesNo(bool Flag) { return Flag ? "yes" : "no"; }

void WriteFlag(TScriptWriter& Writer, const char* Key, bool Flag) {
    Writer.writeText(Key);
    Writer.writeText(" = ");
    Writer.writeText(YesNo(Flag));
    Writer.writeLn();
}

void WriteNumber(TScriptWriter& Writer, const char* Key, int32_t Number) {
    Writer.writeText(Key);
    Writer.writeText(" = ");
    Writer.writeNumber(Number);
    Writer.writeLn();
}

// Writes Key = (n1,n2,...) on one line, with the brackets given.
void WriteNumbers(TScriptWriter& Writer, const char* Key, const int32_t* Numbers, int32_t Count,
                  const char* Open, const char* Close) {
    Writer.writeText(Key);
    Writer.writeText(" = ");
    Writer.writeText(Open);
    for (int32_t i = 0; i < Count; i++) {
        if (i > 0) Writer.writeText(",");
        Writer.writeNumber(Numbers[i]);
    }
    Writer.writeText(Close);
    Writer.writeLn();
}

void WriteHotkeys(TScriptWriter& Writer, const TOptionValues& Values) {
    for (int32_t Number = 0; Number < HOTKEYS; Number++) {
        if (Values.Hotkeys[Number][0] == 0) continue;
        char Text[HOTKEY_LENGTH + 1];
        std::snprintf(Text, sizeof(Text), "%s%s", Values.Hotkeys[Number],
                      Values.HotkeyAutoSend[Number] ? "\n" : "");
        Writer.writeText("Hotkey = (");
        Writer.writeNumber(Number);
        Writer.writeText(",");
        Writer.writeString(Text);
        Writer.writeText(")");
        Writer.writeLn();
    }
}

void WriteBuddies(TScriptWriter& Writer, TOptionList<TBuddy>& Buddies) {
    for (int32_t i = 0; i < Buddies.Count; i++) {
        const TBuddy& Record = Buddies.Items.at(i);
        if (Record.CharacterID == 0) continue;
        Writer.writeText("Buddy = (");
        Writer.writeNumber(static_cast<int32_t>(Record.CharacterID));
        Writer.writeText(",");
        Writer.writeNumber(Record.Icon);
        Writer.writeText(",");
        Writer.writeString(Record.Description);
        Writer.writeText(",");
        Writer.writeText(YesNo(Record.NotifyLogin));
        Writer.writeText(")");
        Writer.writeLn();
    }
}

// Key = {"name",...} with the permanent entries of a speaker list; Names is "name\n" per entry or NULL.
void WriteNames(TScriptWriter& Writer, const char* Key, std::unique_ptr<char[]> Names,
                bool (*IsPermanent)(const char*)) {
    Writer.writeText(Key);
    Writer.writeText(" = {");
    bool First = true;
    for (char* Name = Names.get(); Name != nullptr && *Name != 0;) {
        char* End = std::strchr(Name, '\n');
        if (End != nullptr) *End = 0;
        if (*Name != 0 && IsPermanent(Name)) {
            if (!First) Writer.writeText(",");
            Writer.writeString(Name);
            First = false;
        }
        Name = End != nullptr ? End + 1 : nullptr;
    }
    Writer.writeText("}");
    Writer.writeLn();
}

void WriteList(TScriptWriter& Writer, const char* Key, TOptionList<int32_t>& List) {
    for (int32_t i = 0; i < List.Count; i++)
        WriteNumber(Writer, Key, List.Items.at(i));
}

void WriteDisplayOptions(TScriptWriter& Writer, const TOptionValues& Values) {
    WriteFlag(Writer, "TestServer", Values.TestServer);
    if (Values.FullscreenMode.Width != 0) {
        const int32_t Mode[] = {Values.FullscreenMode.Width, Values.FullscreenMode.Height,
                                Values.FullscreenMode.Depth};
        WriteNumbers(Writer, "FullscreenMode", Mode, 3, "(", ")");
    }
    WriteFlag(Writer, "WindowsMousepointer", Values.WindowsMousepointer);
    WriteFlag(Writer, "LightEffects", Values.LightEffects);
    WriteFlag(Writer, "TextualEffects", Values.TextualEffects);
    WriteNumber(Writer, "CreatureInfo", Values.CreatureInfo);
    WriteFlag(Writer, "NoStretching", Values.NoStretching == 1);
    WriteNumber(Writer, "ConfineFramerate", Values.ConfineFramerate);
}

void WriteWindowOptions(TScriptWriter& Writer, TOptionsData& Data) {
    const TOptionValues& Values = Data.Values;
    Writer.writeText("WindowedMode = (");
    for (int32_t Number : {Values.WindowedX, Values.WindowedY, Values.WindowedWidth, Values.WindowedHeight}) {
        Writer.writeNumber(Number);
        Writer.writeText(",");
    }
    Writer.writeText(YesNo(Values.WindowedMaximized));
    Writer.writeText(")");
    Writer.writeLn();
    WriteNumber(Writer, "ConsoleHeight", Values.ConsoleHeight);
    WriteNumber(Writer, "AutomapZoom", Values.AutomapZoom);
    for (int32_t i = 0; i < Data.ContentWindow.Count; i++) {
        const TContentWindowPair& Pair = Data.ContentWindow.Items.at(i);
        const int32_t Numbers[] = {Pair.Id, Pair.Value};
        WriteNumbers(Writer, "ContentWindow", Numbers, 2, "(", ")");
    }
    WriteNumbers(Writer, "BuddySortmethods", Values.BuddySortmethods, 3, "(", ")");
    WriteFlag(Writer, "BuddyHideOffline", Values.BuddyHideOffline);
    WriteList(Writer, "OpenDialogs", Data.OpenDialogs);
}

void WriteChatOptions(TScriptWriter& Writer, TOptionsData& Data) {
    const TOptionValues& Values = Data.Values;
    WriteNumber(Writer, "LastMotD", Values.LastMotD);
    WriteFlag(Writer, "InfoMessages", Values.InfoMessages);
    WriteFlag(Writer, "EventMessages", Values.EventMessages);
    WriteFlag(Writer, "StatusMessages", Values.StatusMessages);
    WriteFlag(Writer, "TimeStamps", Values.TimeStamps);
    WriteFlag(Writer, "PrivateMessages", Values.PrivateMessages);
    WriteList(Writer, "OpenChannel", Data.OpenChannel);
    WriteFlag(Writer, "ClassicControl", Values.ClassicControl);
    WriteFlag(Writer, "AutoChaseOff", Values.AutoChaseOff);
    WriteNumber(Writer, "AttackMode", Values.AttackMode);
    WriteNumber(Writer, "ChaseMode", Values.ChaseMode);
    WriteNumber(Writer, "SecureMode", Values.SecureMode ? 1 : 0);
    WriteBuddies(Writer, Data.Buddies);
    WriteNames(Writer, "White", GetWhiteListText(), GetWhiteListFlag);
    WriteNames(Writer, "Ignore", GetIgnoreListText(), GetIgnoreListFlag);
}

void WriteHintOptions(TScriptWriter& Writer, TOptionsData& Data) {
    const TOptionValues& Values = Data.Values;
    std::unique_ptr<int32_t[]> Hints = std::make_unique<int32_t[]>(Data.KnownHints.Count + 1);
    for (int32_t i = 0; i < Data.KnownHints.Count; i++)
        Hints[i] = Data.KnownHints.Items.at(i);
    WriteNumbers(Writer, "KnownHints", Hints.get(), Data.KnownHints.Count, "{", "}");
    WriteFlag(Writer, "ShowNewHints", Values.ShowNewHints);
    WriteFlag(Writer, "LevelBar", Values.LevelBar);
    WriteFlag(Writer, "MagLevelBar", Values.MagLevelBar);
    int32_t Shown[SKILLBARS];
    int32_t Count = 0;
    for (int32_t Skill = 0; Skill < SKILLBARS; Skill++)
        if (Values.SkillBars[Skill]) Shown[Count++] = Skill;
    WriteNumbers(Writer, "SkillBars", Shown, Count, "{", "}");
    WriteNumber(Writer, "Engine", Values.Engine);
}

void WriteOptionsFile(TScriptWriter& Writer) {
    TOptionsData& Data = Options();
    Writer.writeText("# Pellarune client 7.72 options");
    Writer.writeLn();
    Writer.writeText("# DO NOT EDIT THIS FILE");
    Writer.writeLn();
    Writer.writeLn();
    WriteDisplayOptions(Writer, Data.Values);
    WriteHotkeys(Writer, Data.Values);
    WriteWindowOptions(Writer, Data);
    WriteChatOptions(Writer, Data);
    WriteHintOptions(Writer, Data);
}

// Before the new file takes its place, a file that could not be read is copied to the first free name of
// the kept ones (a copy, so that a linked file stays linked); when none is free or the copy fails, it
// stays and the new file is dropped, so the user's data survives.
bool KeepFaultyFile() {
    if (!OptionsFileFaulty || !FileExists(OPTIONS_FILE)) {
        OptionsFileFaulty = false;
        return true;
    }
    for (int32_t Number = 0; Number <= LAST_BAD_FILE; Number++) {
        char Name[32];
        if (Number == 0)
            std::snprintf(Name, sizeof Name, "%s.bad", OPTIONS_FILE);
        else
            std::snprintf(Name, sizeof Name, "%s.bad.%d", OPTIONS_FILE, static_cast<int>(Number));
        TCopyResult Result = CopyToNewFile(OPTIONS_FILE, Name);
        if (Result == COPY_NAME_TAKEN) continue;
        OptionsFileFaulty = Result != COPY_DONE;
        return Result == COPY_DONE;
    }
    return false;
}

} // namespace

void ResetOptions() {
    TOptionsData& Data = Options();
    const TOptionValues Kept = Data.Values;
    Data.Values = TOptionValues{};
    Data.Values.FullscreenMode = Kept.FullscreenMode;
    Data.Values.FullscreenMode.Width = 0;
    Data.Values.WindowedX = Kept.WindowedX;
    Data.Values.WindowedY = Kept.WindowedY;
    Data.Values.WindowedWidth = Kept.WindowedWidth;
    Data.Values.WindowedHeight = Kept.WindowedHeight;
    Data.ContentWindow.Count = 0;
    Data.OpenDialogs.Count = 0;
    Data.OpenChannel.Count = 0;
    Data.KnownHints.Count = 0;
    Data.Buddies.Count = 0;
    Data.MessageOfTheDay.reset();
    ClearIgnoreList();
}

void LoadOptions() {
    ResetOptions();
    TScriptReader Reader;
    try {
        Reader.open(OPTIONS_FILE);
        ReadOptionsFile(Reader);
        OptionsFileFaulty = false;
    } catch (const TMyException&) {
        ResetOptions();
        ClearWhiteList(); // names read before the failure are no more the user's than the rest
        // A missing file is simply not there yet; one that exists but cannot be read is the user's.
        OptionsFileFaulty = FileExists(OPTIONS_FILE);
    }
    OptionsLoaded = true;
}

// A save that fails leaves the old file; the next save tries again.
void SaveOptions() {
    if (!OptionsLoaded) return;
    try {
        SaveThroughTempFile<TScriptWriter>(OPTIONS_FILE, WriteOptionsFile, KeepFaultyFile);
    } catch (const TMyException&) {
    }
}

void ExitOptions() {
    Options().MessageOfTheDay.reset();
    SaveOptions();
    OptionsLoaded = false; // the store is closed: nothing more is written until the next LoadOptions
}
