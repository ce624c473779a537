// Layouts of the client commands the world reads.
#include "tools/testserver/ClientCommands.h"

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
    if (Layout == 0) return;
    if (Layout == 2) Command.Name = Reader.string();
    if (Layout == 3) Command.Channel = Reader.u16();
    Command.Text = Reader.string();
    Command.Read = true;
}

} // namespace

TClientCommand ParseClientCommand(std::span<const uint8_t> Message) {
    TWireReader Reader(Message);
    TClientCommand Command;
    Command.Type = Reader.u8();
    Command.Read = true;
    switch (Command.Type) {
    case COMMAND_LOGOUT:
    case COMMAND_PING:
    case COMMAND_STOP:
    case COMMAND_GET_CHANNELS:
    case COMMAND_OPEN_OWN_CHANNEL:
    case COMMAND_CANCEL:
        break;
    case COMMAND_WALK: {
        std::span<const uint8_t> Steps = Reader.bytes(Reader.u8());
        Command.Steps.assign(Steps.begin(), Steps.end());
        break;
    }
    case COMMAND_STEP_NORTH:
    case COMMAND_STEP_EAST:
    case COMMAND_STEP_SOUTH:
    case COMMAND_STEP_WEST:
    case COMMAND_STEP_NORTH_EAST:
    case COMMAND_STEP_SOUTH_EAST:
    case COMMAND_STEP_SOUTH_WEST:
    case COMMAND_STEP_NORTH_WEST:
        Command.Steps = {StepCode(Command.Type)};
        break;
    case COMMAND_TURN_NORTH:
    case COMMAND_TURN_EAST:
    case COMMAND_TURN_SOUTH:
    case COMMAND_TURN_WEST:
        break;
    case COMMAND_USE:
        ReadObject(Reader, Command);
        Command.Container = Reader.u8();
        break;
    case COMMAND_LOOK:
        ReadObject(Reader, Command);
        break;
    case COMMAND_CLOSE_CONTAINER:
    case COMMAND_UP_CONTAINER:
    case COMMAND_REFRESH_CONTAINER:
        Command.Container = Reader.u8();
        break;
    case COMMAND_TALK:
        Command.Read = false;
        ReadTalk(Reader, Command);
        break;
    case COMMAND_JOIN_CHANNEL:
    case COMMAND_LEAVE_CHANNEL:
        Command.Channel = Reader.u16();
        break;
    case COMMAND_PRIVATE_CHANNEL:
        Command.Name = Reader.string();
        break;
    case COMMAND_REFRESH_FIELD:
        Command.Place = ReadPlace(Reader);
        break;
    default:
        Command.Read = false;
    }
    return Command;
}

} // namespace testserver
