// Expected client-message bytes, built field by field as the wire writes them (little-endian).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

struct TWire {
    std::vector<uint8_t> Bytes;
    explicit TWire(int Command) {
        Bytes.reserve(32); // room for any expected message; spares GCC 12 a false overflow warning
        Bytes.push_back(static_cast<uint8_t>(Command));
    }
    TWire& u8(int Value) {
        Bytes.push_back(static_cast<uint8_t>(Value));
        return *this;
    }
    TWire& u16(int Value) { return u8(Value).u8(Value >> 8); }
    TWire& u32(uint32_t Value) {
        return u16(static_cast<int>(Value & 0xFFFF)).u16(static_cast<int>(Value >> 16));
    }
    TWire& str(const std::string& Text) {
        u16(static_cast<int>(Text.size()));
        Bytes.insert(Bytes.end(), Text.begin(), Text.end());
        return *this;
    }
    // A place: u16 X, u16 Y, u8 Z; an object at a place adds u16 type, u8 position.
    TWire& place(int X, int Y, int Z) { return u16(X).u16(Y).u8(Z); }
    TWire& object(int X, int Y, int Z, int Type, int Position) {
        return place(X, Y, Z).u16(Type).u8(Position);
    }
    operator std::vector<uint8_t>() const { return Bytes; }
};

inline bool operator==(const std::vector<uint8_t>& Sent, const TWire& Expected) {
    return Sent == Expected.Bytes;
}
inline void PrintTo(const TWire& Expected, std::ostream* Out) {
    *Out << ::testing::PrintToString(Expected.Bytes);
}
