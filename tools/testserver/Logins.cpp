// Reading commands 1 and 10: the plain header, then the fields of the deciphered RSA block.
#include "tools/testserver/Logins.h"

#include <algorithm>

namespace testserver {

namespace {

void CheckHeader(TWireReader& Reader, size_t Size, uint8_t Command, size_t ExpectedSize) {
    uint8_t Got = Reader.u8();
    if (Got != Command)
        throw TWireError("command " + std::to_string(Got) + " where " + std::to_string(Command) +
                         " was expected");
    if (Size != ExpectedSize)
        throw TWireError("login command " + std::to_string(Command) + " of " + std::to_string(Size) +
                         " bytes, expected " + std::to_string(ExpectedSize));
}

// Deciphers the block and reads its leading 0 and the key; the reader goes on with the fields behind.
TRsaBlock OpenBlock(TWireReader& Message, const TRsaPrivateKey& Key) {
    std::span<const uint8_t> Cipher = Message.bytes(RSA_BLOCK_SIZE);
    TRsaBlock Block = Key.decipher(std::span<const uint8_t, RSA_BLOCK_SIZE>(Cipher.data(), RSA_BLOCK_SIZE));
    if (Block[0] != 0) throw TWireError("RSA block starts with " + std::to_string(Block[0]));
    return Block;
}

TXteaKey ReadKey(TWireReader& Reader) {
    TXteaKey Key;
    std::span<const uint8_t> Bytes = Reader.bytes(Key.size());
    std::copy(Bytes.begin(), Bytes.end(), Key.begin());
    return Key;
}

} // namespace

TLoginRecord ParseLoginServerLogin(std::span<const uint8_t> Message, const TRsaPrivateKey& Key) {
    TWireReader Reader(Message);
    CheckHeader(Reader, Message.size(), LOGIN_SERVER_COMMAND, LOGIN_SERVER_MESSAGE_SIZE);
    TLoginRecord Record;
    Record.Constant = Reader.u16();
    Record.Version = Reader.u16();
    Record.DatSignature = Reader.u32();
    Record.SprSignature = Reader.u32();
    Record.PicSignature = Reader.u32();
    Record.Block = OpenBlock(Reader, Key);
    TWireReader Block(Record.Block);
    Block.u8();
    Record.Key = ReadKey(Block);
    Record.Account = Block.u32();
    Record.Password = Block.string();
    return Record;
}

TGameLoginRecord ParseGameServerLogin(std::span<const uint8_t> Message, const TRsaPrivateKey& Key) {
    TWireReader Reader(Message);
    CheckHeader(Reader, Message.size(), GAME_SERVER_COMMAND, GAME_SERVER_MESSAGE_SIZE);
    TGameLoginRecord Record;
    Record.Constant = Reader.u16();
    Record.Version = Reader.u16();
    Record.Block = OpenBlock(Reader, Key);
    TWireReader Block(Record.Block);
    Block.u8();
    Record.Key = ReadKey(Block);
    Record.GamemasterFlag = Block.u8();
    Record.Account = Block.u32();
    Record.CharacterName = Block.string();
    Record.Password = Block.string();
    return Record;
}

} // namespace testserver
