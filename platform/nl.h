// Our stand-in for the HawkNL 1.7 networking library over POSIX sockets: the same calls, constants,
// error codes and packet framing, so that a peer built on the real library talks to ours.
#pragma once

#include <cstdint>

using NLboolean = bool;
using NLint = int32_t;
using NLuint = uint32_t;
using NLushort = uint16_t;
using NLenum = int32_t;
using NLsocket = int32_t;
using NLchar = char;

constexpr NLboolean NL_TRUE = true;
constexpr NLboolean NL_FALSE = false;
constexpr NLint NL_INVALID = -1;

// Networks and socket types
constexpr NLenum NL_IP = 0x0003;
constexpr NLenum NL_RELIABLE = 0x0010;         // TCP stream
constexpr NLenum NL_RELIABLE_PACKETS = 0x0011; // TCP with packet framing
constexpr NLenum NL_UNRELIABLE = 0x0012;       // UDP (not offered: nothing here uses it)

// Poll kinds
constexpr NLenum NL_READ_STATUS = 0x0050;
constexpr NLenum NL_WRITE_STATUS = 0x0051;
constexpr NLenum NL_ERROR_STATUS = 0x0052;

// nlEnable / nlDisable options
constexpr NLenum NL_BLOCKING_IO = 0x0040;
constexpr NLenum NL_SOCKET_STATS = 0x0041;

// Errors
constexpr NLenum NL_NO_ERROR = 0x0000;
constexpr NLenum NL_NO_NETWORK = 0x0100;
constexpr NLenum NL_INVALID_ENUM = 0x0102;
constexpr NLenum NL_INVALID_SOCKET = 0x0103;
constexpr NLenum NL_INVALID_PORT = 0x0104;
constexpr NLenum NL_INVALID_TYPE = 0x0105;
constexpr NLenum NL_SYSTEM_ERROR = 0x0106;
constexpr NLenum NL_SOCK_DISCONNECT = 0x0107;
constexpr NLenum NL_NOT_LISTEN = 0x0108;
constexpr NLenum NL_CON_REFUSED = 0x0109;
constexpr NLenum NL_NO_PENDING = 0x010A;
constexpr NLenum NL_BAD_ADDR = 0x010B;
constexpr NLenum NL_MESSAGE_END = 0x010C;
constexpr NLenum NL_NULL_POINTER = 0x010D;
constexpr NLenum NL_INVALID_GROUP = 0x010E;
constexpr NLenum NL_OUT_OF_GROUP_SOCKETS = 0x0110;
constexpr NLenum NL_BUFFER_SIZE = 0x0111;
constexpr NLenum NL_PACKET_SIZE = 0x0112;
constexpr NLenum NL_CON_PENDING = 0x0114;
constexpr NLenum NL_PACKET_SYNC = 0x0116;
constexpr NLenum NL_CONNECTED = 0x011B;

constexpr NLint NL_MAX_PACKET_LENGTH = 16384;
constexpr NLint NL_MAX_GROUP_SOCKETS = 8192;
constexpr NLint NL_MAX_STRING_LENGTH = 256;

// An IPv4 address and port, both in host order.
struct NLaddress {
    uint32_t host = 0;
    uint16_t port = 0;
    NLboolean valid = NL_FALSE;
};

// ---- Start and shut-down (counted; the last shut-down closes every socket and group)
NLboolean nlInit();
void nlShutdown();
NLboolean nlSelectNetwork(NLenum network); // NL_IP only
NLboolean nlEnable(NLenum option);         // NL_BLOCKING_IO applies to sockets opened afterwards
NLboolean nlDisable(NLenum option);

// ---- Sockets
NLsocket nlOpen(NLushort port, NLenum type); // binds only when port is not 0
NLboolean nlListen(NLsocket socket);
NLboolean nlConnect(NLsocket socket, const NLaddress* address);
NLsocket nlAcceptConnection(NLsocket socket);
NLint nlRead(NLsocket socket, void* buffer, NLint nbytes);
NLint nlWrite(NLsocket socket, const void* buffer, NLint nbytes);
NLboolean nlClose(NLsocket socket);
// Ours, for tests and fuzzing: a connected stream descriptor (a socket pair's end) taken into the table.
NLsocket nlWrapDescriptor(int fd, NLenum type);
// Ours: packets in order with one system call on a non-blocking packet socket (at most 64 a call),
// as nlWrite would one by one; how many were accepted, 0 while an earlier one is still going out.
NLint nlWritePackets(NLsocket socket, const void* const* buffers, const NLint* nbytes, NLint count);
// Ours: true while the bytes received on a packet socket end inside a packet and no whole one waits.
NLboolean nlPartialPacket(NLsocket socket);

// ---- Errors (kept per thread; a successful call does not clear them)
NLenum nlGetError();
NLint nlGetSystemError(); // the errno behind the last NL_SYSTEM_ERROR

// ---- Groups and polling
NLint nlGroupCreate();
NLboolean nlGroupDestroy(NLint group);
NLboolean nlGroupAddSocket(NLint group, NLsocket socket);
NLboolean nlGroupDeleteSocket(NLint group, NLsocket socket);
// Ready sockets into sockets[0..number); more ready than number: -1 with NL_BUFFER_SIZE.
// timeout in ms: 0 no wait, negative for ever.
NLint nlPollGroup(NLint group, NLenum name, NLsocket* sockets, NLint number, NLint timeout);

// ---- Addresses
NLboolean nlGetLocalAddr(NLsocket socket, NLaddress* address);
NLboolean nlGetRemoteAddr(NLsocket socket, NLaddress* address); // the peer of a connected socket
// The addresses this machine's host name resolves to, each with port 0 (127.0.0.1 when none).
// The array stays valid until the next call on the same thread.
NLaddress* nlGetAllLocalAddr(NLint* count);
NLchar* nlAddrToString(const NLaddress* address, NLchar* string);   // string holds NL_MAX_STRING_LENGTH
NLboolean nlStringToAddr(const NLchar* string, NLaddress* address); // numeric "a.b.c.d[:port]"
NLboolean nlSetAddrPort(NLaddress* address, NLushort port);
NLboolean nlGetAddrFromName(const NLchar* name, NLaddress* address); // blocks while resolving

// ---- Threads and mutexes (std::thread and std::mutex)
struct NLthread;
using NLthreadID = NLthread*;
using NLThreadFunc = void* (*)(void* data);
using NLmutex = struct NLmutexRecord*;

// A joinable thread must be joined with nlThreadJoin; another is detached and its id is only a token.
NLthreadID nlThreadCreate(NLThreadFunc func, void* data, NLboolean joinable);
NLboolean nlThreadJoin(NLthreadID thread, void** status);
NLboolean nlMutexInit(NLmutex* mutex);
NLboolean nlMutexLock(NLmutex* mutex);
NLboolean nlMutexUnlock(NLmutex* mutex);
NLboolean nlMutexDestroy(NLmutex* mutex);
