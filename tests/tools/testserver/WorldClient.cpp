// The tests' decoder of the world's messages and writer of the client's commands.
#include "tests/tools/testserver/WorldClient.h"

#include "tools/testserver/ClientCommands.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace testclient {

namespace {

TPosition ReadPosition(TReader& Reader) {
    int X = Reader.u16(), Y = Reader.u16();
    return {X, Y, Reader.u8()};
}

// The world floors a map area of a view on floor z holds, in the order they are sent: from the surface up
// to floor 0 on or above it, from two floors up to two floors down (none below 15) under it.
std::vector<int> AreaFloors(int z) {
    std::vector<int> Floors;
    if (z <= 7)
        for (int f = 7; f >= 0; --f)
            Floors.push_back(f);
    else
        for (int f = z - 2; f <= std::min(z + 2, 15); ++f)
            Floors.push_back(f);
    return Floors;
}

// Box columns x0..x1 (outer) and rows y0..y1 (inner) of the given floors, each floor shifted one field
// towards the north-west per floor above the view.
std::vector<TPosition> Fields(TPosition View, const std::vector<int>& Floors, int x0, int y0, int x1,
                              int y1) {
    std::vector<TPosition> Where;
    for (int Floor : Floors) {
        int Shift = View.Z - Floor;
        for (int x = x0; x <= x1; ++x)
            for (int y = y0; y <= y1; ++y)
                Where.push_back({View.X - 8 + x + Shift, View.Y - 6 + y + Shift, Floor});
    }
    return Where;
}

} // namespace

std::vector<uint8_t> TypesOf(const std::vector<TServerMessage>& Messages) {
    std::vector<uint8_t> Types;
    for (const TServerMessage& Message : Messages)
        Types.push_back(Message.Type);
    return Types;
}

void PutPosition(TBytes& Out, TPosition Where) {
    Put16(Out, static_cast<uint16_t>(Where.X));
    Put16(Out, static_cast<uint16_t>(Where.Y));
    Out.push_back(static_cast<uint8_t>(Where.Z));
}

TBytes Place(uint8_t Command, TPosition Where, uint16_t Type, uint8_t StackPosition) {
    TBytes Bytes{Command};
    PutPosition(Bytes, Where);
    Put16(Bytes, Type);
    Bytes.push_back(StackPosition);
    return Bytes;
}

TBytes Use(TPosition Where, uint16_t Type, uint8_t StackPosition, uint8_t Window) {
    TBytes Bytes = Place(testserver::COMMAND_USE, Where, Type, StackPosition);
    Bytes.push_back(Window);
    return Bytes;
}

TBytes NameCommand(uint8_t Command, std::string_view Name) {
    TBytes Bytes{Command};
    PutString(Bytes, Name);
    return Bytes;
}

TBytes Talk(uint8_t Mode, std::string_view Text) {
    TBytes Bytes{testserver::COMMAND_TALK, Mode};
    PutString(Bytes, Text);
    return Bytes;
}

TBytes Talk(uint8_t Mode, std::string_view Text, std::string_view Addressee) {
    TBytes Bytes{testserver::COMMAND_TALK, Mode};
    PutString(Bytes, Addressee);
    PutString(Bytes, Text);
    return Bytes;
}

TBytes Talk(uint8_t Mode, std::string_view Text, uint16_t Channel) {
    TBytes Bytes{testserver::COMMAND_TALK, Mode};
    Put16(Bytes, Channel);
    PutString(Bytes, Text);
    return Bytes;
}

std::vector<TServerMessage> TWorldClient::read(const TBytes& Frame) {
    std::vector<TServerMessage> Messages;
    TReader Reader(Frame);
    while (Reader.remaining() > 0) {
        TServerMessage Message;
        Message.Type = Reader.u8();
        if (!readMessage(Reader, Message) || Reader.failed()) {
            ADD_FAILURE() << "message " << int(Message.Type) << " breaks its layout";
            break;
        }
        Messages.push_back(std::move(Message));
    }
    return Messages;
}

bool TWorldClient::readMessage(TReader& Reader, TServerMessage& m) {
    switch (m.Type) {
    case 20:
        m.Text = Reader.string();
        return true;
    case 30:
        return true;
    case 10:
        m.Number = Reader.u32();
        m.Value = Reader.u16();
        m.Byte = Reader.u8();
        return true;
    case 100:
    case 101:
    case 102:
    case 103:
    case 104:
    case 105:
    case 190:
    case 191:
        return readMap(Reader, m);
    case 106:
    case 107:
    case 108:
        m.Where = ReadPosition(Reader);
        if (m.Type != 106) m.StackPosition = Reader.u8();
        if (m.Type != 108) m.Objects.push_back(readObject(Reader, Reader.u16()));
        return true;
    case 109:
        m.Where = ReadPosition(Reader);
        m.StackPosition = Reader.u8();
        m.To = ReadPosition(Reader);
        return true;
    case 110:
        m.Byte = Reader.u8();
        m.Value = Reader.u16();
        m.Name = Reader.string();
        Reader.u8(); // capacity
        m.Flag = Reader.u8() != 0;
        for (int Count = Reader.u8(); Count > 0 && !Reader.failed(); --Count)
            m.Objects.push_back(readObject(Reader, Reader.u16()));
        return true;
    case 11: // the rule-violation rights
        for (int i = 0; i < 32; ++i)
            Reader.u8();
        return true;
    case 174:
    case 179:
        m.Value = Reader.u16();
        return true;
    case 175:
    case 176:
        m.Name = Reader.string();
        return true;
    case 177:
        return true;
    case 111:
    case 121:
    case 162:
    case 181:
        m.Byte = Reader.u8();
        return true;
    case 112:
    case 113:
    case 114:
    case 120:
        m.Byte = Reader.u8();
        if (m.Type == 113 || m.Type == 114) m.StackPosition = Reader.u8();
        if (m.Type != 114) m.Objects.push_back(readObject(Reader, Reader.u16()));
        return true;
    case 125:
    case 126:
        m.Name = Reader.string();
        for (int Count = Reader.u8(); Count > 0 && !Reader.failed(); --Count)
            m.Objects.push_back(readObject(Reader, Reader.u16()));
        return true;
    case 127:
        return true;
    case 130:
        Reader.u16();
        return true;
    case 131:
        m.Where = ReadPosition(Reader);
        m.Byte = Reader.u8();
        return true;
    case 160:
    case 161:
        for (int i = m.Type == 160 ? 20 : 14; i > 0; --i)
            Reader.u8();
        return true;
    case 210:
        m.Number = Reader.u32();
        m.Name = Reader.string();
        m.Flag = Reader.u8() == 1;
        return true;
    case 211:
    case 212:
        m.Number = Reader.u32();
        return true;
    case 170:
        readTalk(Reader, m);
        return true;
    case 171:
        for (int Count = Reader.u8(); Count > 0 && !Reader.failed(); --Count) {
            uint16_t Id = Reader.u16();
            m.Channels.emplace_back(Id, Reader.string());
        }
        return true;
    case 172:
    case 178:
        m.Value = Reader.u16();
        m.Name = Reader.string();
        return true;
    case 173:
        m.Name = Reader.string();
        return true;
    case 180:
        m.Byte = Reader.u8();
        m.Text = Reader.string();
        return true;
    default:
        return false;
    }
}

bool TWorldClient::readMap(TReader& Reader, TServerMessage& m) {
    std::vector<TPosition> Where;
    switch (m.Type) {
    case 100:
        View = m.Where = ReadPosition(Reader);
        Where = Fields(View, AreaFloors(View.Z), 0, 0, 17, 13);
        break;
    case 101:
        --View.Y;
        Where = Fields(View, AreaFloors(View.Z), 0, 0, 17, 0);
        break;
    case 102:
        ++View.X;
        Where = Fields(View, AreaFloors(View.Z), 17, 0, 17, 13);
        break;
    case 103:
        ++View.Y;
        Where = Fields(View, AreaFloors(View.Z), 0, 13, 17, 13);
        break;
    case 104:
        --View.X;
        Where = Fields(View, AreaFloors(View.Z), 0, 0, 0, 13);
        break;
    case 105:
        m.Where = ReadPosition(Reader);
        Where = {m.Where};
        break;
    case 190:
        View = {View.X + 1, View.Y + 1, View.Z - 1};
        if (View.Z > 7) Where = Fields(View, {View.Z - 2}, 0, 0, 17, 13);
        if (View.Z == 7) Where = Fields(View, {5, 4, 3, 2, 1, 0}, 0, 0, 17, 13);
        break;
    default: // 191
        View = {View.X - 1, View.Y - 1, View.Z + 1};
        if (View.Z > 8 && View.Z < 14) Where = Fields(View, {View.Z + 2}, 0, 0, 17, 13);
        if (View.Z == 8) Where = Fields(View, {8, 9, 10}, 0, 0, 17, 13);
        break;
    }
    return readFields(Reader, Where, m.Fields);
}

bool TWorldClient::readFields(TReader& Reader, const std::vector<TPosition>& Where,
                              std::vector<TSeenField>& Fields) {
    int Skip = 0;
    for (const TPosition& Position : Where) {
        Fields.push_back({Position, {}});
        if (Skip > 0) {
            --Skip;
            continue;
        }
        for (;;) {
            uint16_t Word = Reader.u16();
            if (Reader.failed() || Word == 0) return false;
            if (Word >= 0xFF00) {
                Skip = Word - 0xFF00;
                break;
            }
            Fields.back().Objects.push_back(readObject(Reader, Word));
        }
    }
    EXPECT_EQ(Skip, 0) << "a run of empty fields beyond the message";
    return !Reader.failed();
}

TSeenObject TWorldClient::readObject(TReader& Reader, uint16_t Word) {
    TSeenObject Object;
    Object.Word = Word;
    if (Word < 97 || Word > 99) {
        for (int i = Types.dataBytes(Word); i > 0; --i)
            Object.Data = Reader.u8();
        return Object;
    }
    if (Word == 97) Reader.u32(); // the creature to replace
    Object.CreatureId = Reader.u32();
    if (Word == 97) Object.Name = Reader.string();
    if (Word == 99) {
        Object.Facing = Reader.u8();
        return Object;
    }
    Reader.u8(); // health
    Object.Facing = Reader.u8();
    Object.Outfit = Reader.u16();
    if (Object.Outfit != 0)
        Reader.u32(); // four colours
    else
        Reader.u16(); // the item shown instead
    Reader.u16();     // light
    Reader.u16();     // speed
    Reader.u16();     // skull, shield
    return Object;
}

// Say, whisper, yell and the animals' sounds at a field; the channel modes with their channel; the others
// with the text alone.
void TWorldClient::readTalk(TReader& Reader, TServerMessage& m) {
    m.Number = Reader.u32();
    m.Name = Reader.string();
    m.Byte = Reader.u8();
    if ((m.Byte >= 1 && m.Byte <= 3) || m.Byte == 16 || m.Byte == 17)
        m.Where = ReadPosition(Reader);
    else if (m.Byte == 5 || m.Byte == 10 || m.Byte == 12 || m.Byte == 14)
        m.Value = Reader.u16();
    else if (m.Byte == 6)
        m.Seconds = Reader.u32();
    m.Text = Reader.string();
}

TPlayerClient::TPlayerClient(uint16_t GamePort, const testserver::TObjectTypes& Types, std::string_view Name,
                             uint8_t Gamemaster, uint32_t Account)
    : Connection(GamePort), Picture(Types) {
    EXPECT_TRUE(Connection.send(GameServerFrame(Key, Gamemaster, Account, Name, "pw")));
    while (Entered.empty() || (Entered.back().Type != 180 && Entered.back().Type != 20)) {
        std::vector<TServerMessage> Messages = next();
        if (Messages.empty()) return;
        Entered.insert(Entered.end(), Messages.begin(), Messages.end());
    }
}

bool TPlayerClient::send(const TBytes& Command) { return Connection.send(CommandFrame(Key, Command)); }

std::vector<TServerMessage> TPlayerClient::next(std::chrono::milliseconds Limit) {
    std::optional<TBytes> Frame = Connection.readFrame(Key, Limit);
    return Frame ? Picture.read(*Frame) : std::vector<TServerMessage>{};
}

std::vector<TServerMessage> TPlayerClient::ask(const TBytes& Command) {
    EXPECT_TRUE(send(Command));
    std::vector<TServerMessage> Answer = next();
    EXPECT_FALSE(Answer.empty()) << "no answer to command " << int(Command.at(0));
    return Answer;
}

std::optional<TServerMessage> TPlayerClient::waitFor(const std::function<bool(const TServerMessage&)>& Match,
                                                     std::chrono::milliseconds Limit) {
    auto Deadline = std::chrono::steady_clock::now() + Limit;
    for (auto Now = std::chrono::steady_clock::now(); Now < Deadline; Now = std::chrono::steady_clock::now())
        for (const TServerMessage& Message :
             next(std::chrono::duration_cast<std::chrono::milliseconds>(Deadline - Now)))
            if (Match(Message)) return Message;
    return std::nullopt;
}

TWorldTest::TWorldTest() : Setup(testserver::LoadWorld(testserver::DefaultDatFile())) {
    Server.setPlan(testserver::TRole::Game, testserver::WorldPlan(Setup));
}

std::unique_ptr<TPlayerClient> TWorldTest::join(std::string_view Name, uint8_t Gamemaster, uint32_t Account) {
    auto Player =
        std::make_unique<TPlayerClient>(Server.gamePort(), Setup->Village.types(), Name, Gamemaster, Account);
    EXPECT_FALSE(Player->entered().empty()) << Name << " entered nothing";
    return Player;
}

} // namespace testclient
