// The system's secure random source, for session keys and the fill of enciphered login blocks.
#pragma once

#include <cstddef>
#include <cstdint>

// Fills Count bytes from getrandom(); false when the system cannot give them (the bytes are then undefined).
bool GetSecureRandomBytes(uint8_t* Buffer, size_t Count);
