// The shared throw path of the index-range containers.
#include "foundation/Container.h"

void ThrowIndexOutOfRange(const char* File, int32_t Line, const std::string& Details, const char* Reason) {
    throw TMyException(File, Line, "index out of range (" + Details + ")", "", 0, "", 0, Reason);
}
