// Tests of the wire framing over loopback: frame layouts both ways, collecting frames, and untrusted lengths.
#include "ClientConnection.h"
#include "NetworkFixture.h"

#include "foundation/Exception.h"
#include "network/XTEA.h"

#include <algorithm>

namespace {

const uint8_t KEY[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};

// A server frame: u16 L, then L enciphered bytes holding u16 P, the messages and zero padding to a multiple
// of 8 (at least Padded bytes). MessageLength overrides P to build a broken frame.
std::vector<uint8_t> ServerFrame(const std::vector<uint8_t>& Messages, int Padded = 0,
                                 int MessageLength = -1) {
    int P = static_cast<int>(Messages.size());
    int L = std::max((P + 2 + 7) / 8 * 8, Padded);
    std::vector<uint8_t> Plain(static_cast<size_t>(L), 0);
    int Inner = MessageLength >= 0 ? MessageLength : P;
    Plain[0] = static_cast<uint8_t>(Inner);
    Plain[1] = static_cast<uint8_t>(Inner >> 8);
    std::copy(Messages.begin(), Messages.end(), Plain.begin() + 2);
    TXTEACipher Cipher;
    Cipher.setKey(KEY);
    Cipher.encryptBlocks(Plain.data(), L / 8);
    std::vector<uint8_t> Frame = {static_cast<uint8_t>(L), static_cast<uint8_t>(L >> 8)};
    Frame.insert(Frame.end(), Plain.begin(), Plain.end());
    return Frame;
}

// A test message: type byte, u8 n, n bytes.
std::vector<uint8_t> Message(uint8_t Type, std::vector<uint8_t> Body) {
    std::vector<uint8_t> Bytes = {Type, static_cast<uint8_t>(Body.size())};
    Bytes.insert(Bytes.end(), Body.begin(), Body.end());
    return Bytes;
}

std::vector<uint8_t> Join(std::initializer_list<std::vector<uint8_t>> Parts) {
    std::vector<uint8_t> All;
    for (const auto& Part : Parts)
        All.insert(All.end(), Part.begin(), Part.end());
    return All;
}

class FramingTest : public NetworkTest {
protected:
    void SetUp() override {
        NetworkTest::SetUp();
        SetSymmetricKey(KEY);
        ASSERT_TRUE(ConnectToPeer(Peer, [] { return Connected == 1; }));
        OnReceived = [this] {
            Passes++;
            for (int32_t Type; (Type = GetPacketType()) != -1;) {
                std::vector<uint8_t> Got = {static_cast<uint8_t>(Type)};
                uint8_t Count = GetByte();
                Got.push_back(Count);
                for (int i = 0; i < Count; i++)
                    Got.push_back(GetByte());
                Dispatched.push_back(Got);
            }
        };
    }

    // Sends bytes from the server and pumps until the client holds them all.
    void Deliver(const std::vector<uint8_t>& Bytes) {
        int32_t Before = GetReceivedBytes(), Calls = Received;
        Peer.send(Bytes);
        PumpUntil([&] {
            return GetReceivedBytes() >= Before + static_cast<int32_t>(Bytes.size()) || Received > Calls;
        });
        PumpEvents(10);
    }

    // Sends bytes from the server and returns the text of the error the receive path raises.
    std::string ErrorOf(const std::vector<uint8_t>& Bytes) {
        Peer.send(Bytes);
        try {
            PumpUntil([] { return false; }, 300);
        } catch (const TMyException& Error) {
            return Error.getText();
        }
        return "";
    }

    std::vector<uint8_t> Deciphered(std::vector<uint8_t> Frame) {
        TXTEACipher Cipher;
        Cipher.setKey(KEY);
        Cipher.decryptBlocks(Frame.data() + 2, static_cast<int>(Frame.size() - 2) / 8);
        return Frame;
    }

    TLoopbackPeer Peer;
    int Passes = 0;
    std::vector<std::vector<uint8_t>> Dispatched;
};

} // namespace

TEST_F(FramingTest, EncipheredMessagePaddedToEightBytes) {
    BeginPacket(0x64);
    PutByte(1);
    PutWord(0x0302);
    PutBytes(std::vector<uint8_t>{4, 5}.data(), 2);
    SendPacket(true); // P = 6, P + 2 = 8: no padding
    std::vector<uint8_t> Frame = Peer.receiveExactly(10);
    ASSERT_EQ(Frame.size(), 10u);
    EXPECT_EQ(Deciphered(Frame), (std::vector<uint8_t>{8, 0, 6, 0, 0x64, 1, 2, 3, 4, 5}));

    BeginPacket(0x65);
    PutQuad(0x0A090807);
    PutString("abc");
    PutByte(9);
    SendPacket(true); // P = 11, P + 2 = 13: three padding bytes
    Frame = Peer.receiveExactly(18);
    ASSERT_EQ(Frame.size(), 18u);
    std::vector<uint8_t> Plain = Deciphered(Frame);
    EXPECT_EQ(std::vector<uint8_t>(Plain.begin(), Plain.begin() + 15),
              (std::vector<uint8_t>{16, 0, 11, 0, 0x65, 7, 8, 9, 10, 3, 0, 'a', 'b', 'c', 9}));
    EXPECT_TRUE(Peer.receive(1, 50).empty()) << "nothing more was sent";
}

TEST_F(FramingTest, SevenPaddingBytesWhenOneByteIsOver) {
    BeginPacket(0x70);
    for (int i = 0; i < 6; i++)
        PutByte(static_cast<uint8_t>(i));
    SendPacket(true); // P = 7, P + 2 = 9: 7 padding bytes
    EXPECT_EQ(Peer.receiveExactly(18).size(), 18u);
    EXPECT_TRUE(Peer.receive(1, 50).empty());
}

TEST_F(FramingTest, PlainMessageWithoutTheOuterLengthWord) {
    BeginPacket(1);
    PutWord(2);
    PutWord(772);
    SendPacket(false);
    EXPECT_EQ(Peer.receiveExactly(7), (std::vector<uint8_t>{5, 0, 1, 2, 0, 4, 3}));
    EXPECT_TRUE(Peer.receive(1, 50).empty());
}

TEST_F(FramingTest, MessageOverflowingTheSendBufferFails) {
    BeginPacket(0x96);
    std::vector<uint8_t> Block(SENDBUFFERSIZE - 5);
    PutBytes(Block.data(), static_cast<int32_t>(Block.size()));
    EXPECT_THROW(PutByte(0), TMyException);
}

TEST_F(FramingTest, TwoFramesInOneReceiveGiveOneCallbackAndAreReadInOrder) {
    Deliver(Join({ServerFrame(Join({Message(10, {1}), Message(11, {})})), ServerFrame(Message(12, {2, 3}))}));
    EXPECT_EQ(Passes, 1);
    EXPECT_EQ(Dispatched, (std::vector<std::vector<uint8_t>>{{10, 1, 1}, {11, 0}, {12, 2, 2, 3}}));
    EXPECT_EQ(GetReceivedBytes(), 0);
    EXPECT_EQ(GetReadyBytes(), 0);
}

TEST_F(FramingTest, FrameSplitOverThreeReceivesCompletesOnTheThird) {
    std::vector<uint8_t> Frame = ServerFrame(Message(20, {7, 7, 7, 7, 7, 7, 7, 7, 7}));
    Deliver(std::vector<uint8_t>(Frame.begin(), Frame.begin() + 1));
    Deliver(std::vector<uint8_t>(Frame.begin() + 1, Frame.begin() + 9));
    EXPECT_EQ(Passes, 0);
    EXPECT_EQ(GetReceivedBytes(), 9);
    Deliver(std::vector<uint8_t>(Frame.begin() + 9, Frame.end()));
    EXPECT_EQ(Passes, 1);
    ASSERT_EQ(Dispatched.size(), 1u);
    EXPECT_EQ(Dispatched[0][0], 20);
}

TEST_F(FramingTest, ManySmallFramesInOneReadAreAllReadAndTheRoomBehindThemIsReused) {
    std::vector<uint8_t> Frames;
    for (int i = 0; i < 1000; i++) {
        std::vector<uint8_t> Frame = ServerFrame(Message(static_cast<uint8_t>(i), {}));
        Frames.insert(Frames.end(), Frame.begin(), Frame.end());
    }
    Deliver(Frames); // 10,000 bytes
    EXPECT_EQ(Passes, 1);
    ASSERT_EQ(Dispatched.size(), 1000u);
    for (size_t i = 0; i < Dispatched.size(); i++)
        ASSERT_EQ(Dispatched[i], (std::vector<uint8_t>{static_cast<uint8_t>(i), 0})) << i;
    EXPECT_EQ(GetReceivedBytes(), 0);
    EXPECT_EQ(GetReadyBytes(), 0);

    // 10,005 bytes, of which the last 5 wait for the rest of their frame; then 10,005 more, which fit only
    // once the frames read are out of the way.
    std::vector<uint8_t> Last = ServerFrame(Message(99, {1, 2}));
    Peer.send(Join({Frames, std::vector<uint8_t>(Last.begin(), Last.begin() + 5)}));
    ASSERT_TRUE(PumpUntil([&] { return Dispatched.size() == 2000u && GetReceivedBytes() == 5; }));
    Peer.send(Join({std::vector<uint8_t>(Last.begin() + 5, Last.end()), Frames}));
    ASSERT_TRUE(PumpUntil([&] { return Dispatched.size() == 3001u; }));
    EXPECT_EQ(Dispatched[2000], (std::vector<uint8_t>{99, 2, 1, 2}));
    EXPECT_EQ(Dispatched[3000], (std::vector<uint8_t>{231, 0})); // frame 999 of the second load
    EXPECT_EQ(GetReceivedBytes(), 0);
}

TEST_F(FramingTest, FrameWithoutMessagesDoesNotHoldUpTheFramesBehindIt) {
    Deliver(Join({ServerFrame({}), ServerFrame(Message(30, {1}))}));
    EXPECT_EQ(Passes, 1);
    EXPECT_EQ(Dispatched, (std::vector<std::vector<uint8_t>>{{30, 1, 1}}));
}

TEST_F(FramingTest, IncompleteFrameMovesToTheStartOnceTheOneBeforeIsConsumed) {
    std::vector<uint8_t> Second = ServerFrame(Message(41, {1, 2, 3, 4, 5, 6, 7, 8}));
    Deliver(Join({ServerFrame(Message(40, {})), std::vector<uint8_t>(Second.begin(), Second.begin() + 5)}));
    EXPECT_EQ(Passes, 1);
    EXPECT_EQ(GetReceivedBytes(), 5) << "the consumed frame's 10 bytes are gone";
    EXPECT_EQ(GetReadyBytes(), 0);
    Deliver(std::vector<uint8_t>(Second.begin() + 5, Second.end()));
    EXPECT_EQ(Dispatched.back(), (std::vector<uint8_t>{41, 8, 1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST_F(FramingTest, FrameOfSixteenWithThreeMessageBytesThenNothing) {
    std::vector<int32_t> Types;
    OnReceived = [&] {
        Types.push_back(GetPacketType());
        Types.push_back(GetByte());
        Types.push_back(GetByte());
        Types.push_back(GetPacketType());
    };
    Deliver(ServerFrame({50, 51, 52}, 16));
    EXPECT_EQ(Types, (std::vector<int32_t>{50, 51, 52, -1}));
}

TEST_F(FramingTest, LastPacketKeepsTheFrameStartAndZeros) {
    Deliver(ServerFrame(Message(60, {9})));
    const uint8_t* Last = GetLastPacket();
    EXPECT_EQ(std::vector<uint8_t>(Last, Last + 16),
              (std::vector<uint8_t>{3, 0, 60, 1, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(FramingTest, ReadingPastTheMessageFailsWithoutTouchingTheNextFrame) {
    std::string Error;
    OnReceived = [&] {
        GetPacketType();
        GetByte();
        try {
            GetQuad();
        } catch (const TMyException& Failure) {
            Error = Failure.getText();
        }
        EXPECT_EQ(GetPacketType(), 71) << "the next frame is intact";
        GetByte();
        EXPECT_EQ(GetPacketType(), -1);
    };
    Deliver(Join({ServerFrame(Message(70, {})), ServerFrame(Message(71, {}))}));
    EXPECT_NE(Error.find("Position<=Size-4"), std::string::npos) << Error;
}

TEST_F(FramingTest, StringsAreCutOrCopiedWhole) {
    std::string Cut, Whole;
    OnReceived = [&] {
        GetPacketType();
        char Buffer[5];
        GetString(Buffer, 5);
        Cut = Buffer;
        char* Copy = GetNewString();
        Whole = Copy;
        FreeMessageBlock(Copy);
    };
    Deliver(ServerFrame({80, 7, 0, 'a', 'b', 'c', 'd', 'e', 'f', 'g', 2, 0, 'h', 'i'}));
    EXPECT_EQ(Cut, "abcd");
    EXPECT_EQ(Whole, "hi");
}

TEST_F(FramingTest, NewStringsEmptyOrLongerThanTheMessage) {
    std::string Empty, Error;
    OnReceived = [&] {
        GetPacketType();
        char* Copy = GetNewString();
        Empty = Copy;
        FreeMessageBlock(Copy);
        try {
            GetNewString(); // claims 3 characters, 2 are left
        } catch (const TMyException& Failure) {
            Error = Failure.getText();
        }
        while (GetPacketType() != -1) {
        }
    };
    Deliver(ServerFrame({81, 0, 0, 3, 0, 'a', 'b'}));
    EXPECT_EQ(Empty, "");
    EXPECT_NE(Error.find("(Position = 9) (Size-Length = 8), reason:\nPosition<=Size-Length"),
              std::string::npos)
        << Error;
}

TEST_F(FramingTest, FrameSizeNotAMultipleOfEightIsRefused) {
    std::vector<uint8_t> Frame = ServerFrame(Message(90, {1, 2, 3, 4, 5, 6, 7, 8}));
    Frame[0] = 12;
    Frame.resize(14);
    std::string Error = ErrorOf(Frame);
    EXPECT_NE(Error.find("(PacketSize = 12), reason:\npacket size does not fit to symmetric encryption"),
              std::string::npos)
        << Error;
}

TEST_F(FramingTest, FrameLongerThanTheReceiveBufferIsAnErrorNotAStall) {
    std::string Error = ErrorOf({0xFF, 0x3F, 1, 2, 3}); // L = 16383: with its length word over 16,384 bytes
    EXPECT_NE(Error.find("(PacketSize = 16383), reason:\npacket size does not fit to receive buffer"),
              std::string::npos)
        << Error;
    EXPECT_EQ(Passes, 0);
}

TEST_F(FramingTest, MessageLengthBeyondTheFrameIsRefused) {
    std::string Error = ErrorOf(ServerFrame(Message(91, {1}), 0, 7)); // L = 8 leaves room for 6 bytes only
    EXPECT_NE(
        Error.find(
            "(PacketSize = 8) (MessageLength = 7), reason:\nmessage length does not fit to packet size"),
        std::string::npos)
        << Error;
}

TEST_F(FramingTest, EmptyFrameIsRefusedBeforeReadingBeyondIt) {
    std::string Error = ErrorOf(Join({{0, 0}, ServerFrame(Message(92, {}))}));
    EXPECT_NE(Error.find("packet size does not fit to message length"), std::string::npos) << Error;
}
