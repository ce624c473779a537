// Secure random bytes from the kernel.
#include "platform/SecureRandom.h"

#include <cerrno>
#include <sys/random.h>

bool GetSecureRandomBytes(uint8_t* Buffer, size_t Count) {
    if (Buffer == nullptr) return Count == 0;
    size_t Done = 0;
    while (Done < Count) {
        ssize_t Result = getrandom(Buffer + Done, Count - Done, 0);
        if (Result < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        Done += static_cast<size_t>(Result);
    }
    return true;
}
