// Mapping of POSIX socket errors and getaddrinfo results onto Windows Sockets codes.
#include "platform/SocketErrors.h"

#include <cerrno>
#include <cstddef>
#include <netdb.h>

namespace {

struct TErrorPair {
    int From;
    int Code;
};

// Several POSIX values fall onto one code; 0 stays 0.
constexpr TErrorPair ERRNO_CODES[] = {
    {0, 0},
    {EINTR, WSAEINTR},
    {EACCES, WSAEACCES},
    {EPERM, WSAEACCES},
    {EFAULT, WSAEFAULT},
    {EINVAL, WSAEINVAL},
    {EMFILE, WSAEMFILE},
    {ENFILE, WSAEMFILE},
    {EAGAIN, WSAEWOULDBLOCK},
    {EINPROGRESS, WSAEWOULDBLOCK},
    {EALREADY, WSAEALREADY},
    {ENOTSOCK, WSAENOTSOCK},
    {EBADF, WSAENOTSOCK},
    {EMSGSIZE, WSAEMSGSIZE},
    {EPROTONOSUPPORT, WSAEPROTONOSUPPORT},
    {EAFNOSUPPORT, WSAEAFNOSUPPORT},
    {EADDRINUSE, WSAEADDRINUSE},
    {EADDRNOTAVAIL, WSAEADDRNOTAVAIL},
    {ENETDOWN, WSAENETDOWN},
    {ENETUNREACH, WSAENETUNREACH},
    {ECONNABORTED, WSAECONNABORTED},
    {ECONNRESET, WSAECONNRESET},
    {EPIPE, WSAECONNRESET},
    {ENOBUFS, WSAENOBUFS},
    {ENOMEM, WSAENOBUFS},
    {EISCONN, WSAEISCONN},
    {ENOTCONN, WSAENOTCONN},
    {ESHUTDOWN, WSAESHUTDOWN},
    {ETIMEDOUT, WSAETIMEDOUT},
    {ECONNREFUSED, WSAECONNREFUSED},
    {EHOSTDOWN, WSAEHOSTDOWN},
    {EHOSTUNREACH, WSAEHOSTUNREACH},
};

// EAI_SYSTEM is not here: its errno tells the cause.
constexpr TErrorPair RESOLVER_CODES[] = {
    {0, 0},
    {EAI_NONAME, WSAHOST_NOT_FOUND},
    {EAI_AGAIN, WSATRY_AGAIN},
    {EAI_NODATA, WSANO_DATA},
    {EAI_ADDRFAMILY, WSANO_DATA},
    {EAI_MEMORY, WSAENOBUFS},
};

template <size_t N> int Lookup(const TErrorPair (&Table)[N], int From, int Otherwise) {
    for (const TErrorPair& Pair : Table)
        if (Pair.From == From) return Pair.Code;
    return Otherwise;
}

} // namespace

int SocketErrorFromErrno(int Errno) { return Lookup(ERRNO_CODES, Errno, WSASYSCALLFAILURE); }

int LookupErrorFromResolver(int ResolverCode, int Errno) {
    if (ResolverCode == EAI_SYSTEM) return SocketErrorFromErrno(Errno);
    return Lookup(RESOLVER_CODES, ResolverCode, WSANO_RECOVERY);
}
