// Layouts of the client commands.
#include "tools/testserver/ClientCommands.h"

#include <algorithm>

namespace testserver {

namespace {

// Talk layouts by mode: 0 a mode the client never sends, 1 text, 2 addressee and text, 3 channel and text.
int TalkLayout(uint8_t Mode) {
    static const uint8_t Layouts[16] = {0, 1, 1, 1, 2, 3, 1, 2, 1, 1, 3, 2, 0, 1, 3, 2};
    return Mode < 16 ? Layouts[Mode] : 0;
}

// The direction code of a single-step command 101..109 (105, the stop, has none).
uint8_t StepCode(uint8_t Command) {
    static const uint8_t Codes[9] = {3, 1, 7, 5, 0, 2, 8, 6, 4};
    return Codes[Command - COMMAND_STEP_NORTH];
}

TPlace ReadPlace(TWireReader& Reader) {
    TPlace Place;
    Place.X = Reader.u16();
    Place.Y = Reader.u16();
    Place.Z = Reader.u8();
    return Place;
}

void ReadObject(TWireReader& Reader, TClientCommand& Command) {
    Command.Place = ReadPlace(Reader);
    Command.ObjectType = Reader.u16();
    Command.StackPosition = Reader.u8();
}

void ReadTalk(TWireReader& Reader, TClientCommand& Command) {
    Command.Mode = Reader.u8();
    int Layout = TalkLayout(Command.Mode);
    if (Layout == 0) {
        Command.Known = false;
        return;
    }
    if (Layout == 2) Command.Name = Reader.string();
    if (Layout == 3) Command.Channel = Reader.u16();
    Command.Text = Reader.string();
}

// The objects: move, trade, use and its kinds, rotate, look.
void ReadObjectCommand(TWireReader& Reader, TClientCommand& c) {
    ReadObject(Reader, c);
    switch (c.Type) {
    case COMMAND_MOVE:
        c.To = ReadPlace(Reader);
        c.Count = Reader.u8();
        break;
    case COMMAND_TRADE:
    case COMMAND_USE_ON_CREATURE:
        c.CreatureId = Reader.u32();
        break;
    case COMMAND_USE:
        c.Container = Reader.u8();
        break;
    case COMMAND_USE_WITH:
        c.To = ReadPlace(Reader);
        c.ToObjectType = Reader.u16();
        c.ToStackPosition = Reader.u8();
        break;
    default: // rotate, look
        break;
    }
}

void ReadReport(TWireReader& Reader, TClientCommand& c) {
    if (c.Type == COMMAND_BUG_REPORT) {
        c.Text = Reader.string();
    } else if (c.Type == COMMAND_RULE_VIOLATION) {
        c.Name = Reader.string();
        c.Reason = Reader.u8();
        c.Action = Reader.u8();
        c.Comment = Reader.string();
        c.StatementId = Reader.u32();
        c.IpBanishment = Reader.u8();
    } else {
        c.Title = Reader.string();
        c.Time = Reader.string();
        c.Text = Reader.string();
        c.Comment = Reader.string();
    }
}

// Commands without fields.
bool Bare(uint8_t Type) {
    switch (Type) {
    case COMMAND_LOGOUT:
    case COMMAND_PING:
    case COMMAND_STOP:
    case COMMAND_TURN_NORTH:
    case COMMAND_TURN_EAST:
    case COMMAND_TURN_SOUTH:
    case COMMAND_TURN_WEST:
    case COMMAND_ACCEPT_TRADE:
    case COMMAND_CLOSE_TRADE:
    case COMMAND_GET_CHANNELS:
    case COMMAND_CANCEL_REQUEST:
    case COMMAND_LEAVE_PARTY:
    case COMMAND_OPEN_OWN_CHANNEL:
    case COMMAND_CANCEL:
    case COMMAND_GET_OUTFIT:
        return true;
    default:
        return false;
    }
}

// Reads the fields of a command with fields; false for a byte that is no command of this client.
bool ReadFields(TWireReader& Reader, TClientCommand& c) {
    switch (c.Type) {
    case COMMAND_WALK: {
        std::span<const uint8_t> Steps = Reader.bytes(Reader.u8());
        c.Steps.assign(Steps.begin(), Steps.end());
        return true;
    }
    case COMMAND_STEP_NORTH:
    case COMMAND_STEP_EAST:
    case COMMAND_STEP_SOUTH:
    case COMMAND_STEP_WEST:
    case COMMAND_STEP_NORTH_EAST:
    case COMMAND_STEP_SOUTH_EAST:
    case COMMAND_STEP_SOUTH_WEST:
    case COMMAND_STEP_NORTH_WEST:
        c.Steps = {StepCode(c.Type)};
        return true;
    case COMMAND_MOVE:
    case COMMAND_TRADE:
    case COMMAND_USE:
    case COMMAND_USE_WITH:
    case COMMAND_USE_ON_CREATURE:
    case COMMAND_ROTATE:
    case COMMAND_LOOK:
        ReadObjectCommand(Reader, c);
        return true;
    case COMMAND_LOOK_TRADE:
        c.Side = Reader.u8();
        c.StackPosition = Reader.u8();
        return true;
    case COMMAND_CLOSE_CONTAINER:
    case COMMAND_UP_CONTAINER:
    case COMMAND_REFRESH_CONTAINER:
        c.Container = Reader.u8();
        return true;
    case COMMAND_EDIT_LIST:
        c.ListKind = Reader.u8();
        [[fallthrough]];
    case COMMAND_EDIT_TEXT:
        c.Identifier = Reader.u32();
        c.Text = Reader.string();
        return true;
    case COMMAND_TALK:
        ReadTalk(Reader, c);
        return true;
    case COMMAND_JOIN_CHANNEL:
    case COMMAND_LEAVE_CHANNEL:
        c.Channel = Reader.u16();
        return true;
    case COMMAND_PRIVATE_CHANNEL:
    case COMMAND_PROCESS_REQUEST:
    case COMMAND_REMOVE_REQUEST:
    case COMMAND_INVITE_TO_CHANNEL:
    case COMMAND_EXCLUDE_FROM_CHANNEL:
    case COMMAND_ADD_VIP:
        c.Name = Reader.string();
        return true;
    case COMMAND_FIGHT_MODES:
        c.AttackMode = Reader.u8();
        c.ChaseMode = Reader.u8();
        c.SecureMode = Reader.u8();
        return true;
    case COMMAND_ATTACK:
    case COMMAND_FOLLOW:
    case COMMAND_INVITE_TO_PARTY:
    case COMMAND_JOIN_PARTY:
    case COMMAND_REVOKE_INVITATION:
    case COMMAND_PASS_LEADERSHIP:
    case COMMAND_REMOVE_VIP:
        c.CreatureId = Reader.u32();
        return true;
    case COMMAND_REFRESH_FIELD:
        c.Place = ReadPlace(Reader);
        return true;
    case COMMAND_SET_OUTFIT:
        c.Outfit = Reader.u16();
        for (uint8_t& Color : c.Colors)
            Color = Reader.u8();
        return true;
    case COMMAND_BUG_REPORT:
    case COMMAND_RULE_VIOLATION:
    case COMMAND_ERROR_REPORT:
        ReadReport(Reader, c);
        return true;
    default:
        return false;
    }
}

char LowerLetter(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

} // namespace

std::string LowerCase(std::string_view Name) {
    std::string Lower(Name);
    for (char& c : Lower)
        c = LowerLetter(c);
    return Lower;
}

bool SameName(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return LowerLetter(x) == LowerLetter(y); });
}

TClientCommand ParseClientCommand(std::span<const uint8_t> Message) {
    TWireReader Reader(Message);
    TClientCommand Command;
    Command.Type = Reader.u8();
    Command.Known = true;
    if (!Bare(Command.Type) && !ReadFields(Reader, Command)) Command.Known = false;
    return Command;
}

} // namespace testserver
