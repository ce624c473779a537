// The Windows Sockets error codes the network layer reports, and the mapping of POSIX and resolver errors
// onto them.
#pragma once

// Codes as the Windows Sockets interface numbers them; the connection error texts are chosen by these values.
enum : int {
    WSAEINTR = 10004,
    WSAEACCES = 10013,
    WSAEFAULT = 10014,
    WSAEINVAL = 10022,
    WSAEMFILE = 10024,
    WSAEWOULDBLOCK = 10035, // a non-blocking connect in progress counts as started
    WSAEALREADY = 10037,
    WSAENOTSOCK = 10038,
    WSAEMSGSIZE = 10040,
    WSAEPROTONOSUPPORT = 10043,
    WSAEAFNOSUPPORT = 10047,
    WSAEADDRINUSE = 10048,
    WSAEADDRNOTAVAIL = 10049,
    WSAENETDOWN = 10050,
    WSAENETUNREACH = 10051,
    WSAECONNABORTED = 10053,
    WSAECONNRESET = 10054,
    WSAENOBUFS = 10055,
    WSAEISCONN = 10056,
    WSAENOTCONN = 10057,
    WSAESHUTDOWN = 10058,
    WSAETIMEDOUT = 10060,
    WSAECONNREFUSED = 10061,
    WSAEHOSTDOWN = 10064,
    WSAEHOSTUNREACH = 10065,
    WSASYSCALLFAILURE = 10107,
    WSAHOST_NOT_FOUND = 11001,
    WSATRY_AGAIN = 11002,
    WSANO_RECOVERY = 11003,
    WSANO_DATA = 11004,
};

// The result of a failed socket call, as the Windows interface has it.
inline constexpr int SOCKET_ERROR = -1;

// A POSIX errno value as a Windows Sockets code; WSASYSCALLFAILURE for values without a counterpart.
int SocketErrorFromErrno(int Errno);

// A getaddrinfo result code (with the errno of EAI_SYSTEM) as a Windows Sockets code; 0 stays 0.
int LookupErrorFromResolver(int ResolverCode, int Errno);
