// Our HawkNL layer over POSIX sockets: the socket table, packet framing, groups and polling,
// addresses, threads and mutexes.
#include "platform/nl.h"

#include <algorithm>
#include <arpa/inet.h>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <memory>
#include <mutex>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/uio.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kHeaderSize = 4;
constexpr int kPacketsPerWrite = 64;
constexpr int kBlockingConnectMs = 30000; // a blocking connect gives up rather than hang for minutes

enum class Link { None, Pending, Connected, Failed };

struct Socket {
    explicit Socket(int descriptor) : fd(descriptor) {}
    ~Socket() { close(fd); }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;

    int fd;
    NLenum type = NL_RELIABLE_PACKETS;
    bool blocking = false;
    bool listening = false;
    bool bound = false;
    uint16_t openedPort = 0;
    Link link = Link::None;
    int connectError = 0;

    // Receiving side: bytes of packets not yet handed out, and how the stream ended.
    std::mutex readLock;
    std::array<uint8_t, kHeaderSize + NL_MAX_PACKET_LENGTH> in{};
    size_t have = 0;
    bool ended = false;
    int readErrno = 0;
    bool outOfSync = false;

    // Sending side: the unsent tail of the last accepted packet.
    std::mutex sendLock;
    std::vector<uint8_t> pending;
    size_t pendingSent = 0;
};

using SocketPtr = std::shared_ptr<Socket>;

struct Library {
    std::mutex lock;
    int initCount = 0;
    bool blocking = false;
    NLsocket nextSocket = 0;
    std::map<NLsocket, SocketPtr> sockets;
    NLint nextGroupSlot = 2; // the original keeps two groups for itself
    std::map<NLint, std::vector<NLsocket>> groups;
};

Library& Lib() {
    // Never destroyed: the program's end may still close sockets after static destructors ran.
    static auto* library = new Library;
    return *library;
}

thread_local NLenum lastError = NL_NO_ERROR;
thread_local NLint lastSystemError = 0;

bool Fail(NLenum error) {
    lastError = error;
    return false;
}
bool SystemFail(int err) {
    lastSystemError = err;
    return Fail(NL_SYSTEM_ERROR);
}
// Reset, aborted, unreachable and timed-out connections are disconnects; the rest are system errors.
bool ConnectionFail(int err) {
    switch (err) {
    case ECONNRESET:
    case ECONNABORTED:
    case ENETRESET:
    case EHOSTUNREACH:
    case ENETUNREACH:
    case ETIMEDOUT:
        lastSystemError = err;
        return Fail(NL_SOCK_DISCONNECT);
    default:
        return SystemFail(err);
    }
}

SocketPtr Find(NLsocket id) {
    Library& lib = Lib();
    std::lock_guard guard(lib.lock);
    auto it = lib.sockets.find(id);
    if (it == lib.sockets.end()) {
        Fail(NL_INVALID_SOCKET);
        return nullptr;
    }
    return it->second;
}

void SetBlocking(int fd, bool blocking) {
    int flags = fcntl(fd, F_GETFL);
    fcntl(fd, F_SETFL, blocking ? flags & ~O_NONBLOCK : flags | O_NONBLOCK);
}

NLsocket Register(SocketPtr socket) {
    Library& lib = Lib();
    std::lock_guard guard(lib.lock);
    while (lib.sockets.contains(lib.nextSocket)) lib.nextSocket = (lib.nextSocket + 1) & 0x7FFFFFFF;
    NLsocket id = lib.nextSocket;
    lib.nextSocket = (lib.nextSocket + 1) & 0x7FFFFFFF;
    lib.sockets.emplace(id, std::move(socket));
    return id;
}

sockaddr_in ToSockaddr(const NLaddress& address) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(address.host);
    sa.sin_port = htons(address.port);
    return sa;
}

// A pending non-blocking connect that has finished becomes connected or failed.
void Settle(Socket& s) {
    if (s.link != Link::Pending) return;
    pollfd p{s.fd, POLLOUT, 0};
    if (poll(&p, 1, 0) <= 0) return;
    int err = 0;
    socklen_t len = sizeof err;
    getsockopt(s.fd, SOL_SOCKET, SO_ERROR, &err, &len);
    s.link = err == 0 ? Link::Connected : Link::Failed;
    s.connectError = err;
}

// Reads and writes need a connection; a pending or failed one keeps reporting why.
bool ReadyForIo(Socket& s) {
    Settle(s);
    if (s.link == Link::Pending) return Fail(NL_CON_PENDING);
    if (s.link == Link::Failed) {
        lastSystemError = s.connectError;
        return Fail(s.connectError == ECONNREFUSED ? NL_CON_REFUSED : NL_SYSTEM_ERROR);
    }
    return true;
}

// ---- Receiving packets (readLock held)

void CheckSync(Socket& s) {
    if (s.have >= 2 && (s.in[0] != 'N' || s.in[1] != 'L')) s.outOfSync = true;
    if (s.have >= kHeaderSize && (s.in[2] << 8 | s.in[3]) > NL_MAX_PACKET_LENGTH) s.outOfSync = true;
}

// The payload length of the whole packet at the front of the buffer, or -1.
int CompletePacket(const Socket& s) {
    if (s.outOfSync || s.have < kHeaderSize) return -1;
    int length = s.in[2] << 8 | s.in[3];
    return s.have >= static_cast<size_t>(kHeaderSize + length) ? length : -1;
}

bool PacketWaiting(const Socket& s) { return CompletePacket(s) >= 0 || s.outOfSync || s.ended || s.readErrno; }

// One receive into the buffer; true when bytes, an end or an error arrived.
bool Fill(Socket& s) {
    if (s.ended || s.readErrno || s.outOfSync || s.have == s.in.size()) return false;
    ssize_t n = recv(s.fd, s.in.data() + s.have, s.in.size() - s.have, 0);
    if (n > 0) {
        s.have += static_cast<size_t>(n);
        CheckSync(s);
    } else if (n == 0) {
        s.ended = true;
    } else if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) {
        return false;
    } else {
        s.readErrno = errno;
    }
    return true;
}

NLint ReadPacket(Socket& s, void* buffer, NLint nbytes) {
    std::lock_guard guard(s.readLock);
    // The original takes the size as 16 bits.
    NLint room = nbytes & 0xFFFF;
    for (;;) {
        if (s.outOfSync) return Fail(NL_PACKET_SYNC), NL_INVALID;
        int length = CompletePacket(s);
        if (length >= 0) {
            if (room < length) return Fail(NL_BUFFER_SIZE), NL_INVALID;
            std::memcpy(buffer, s.in.data() + kHeaderSize, static_cast<size_t>(length));
            size_t used = static_cast<size_t>(kHeaderSize + length);
            std::memmove(s.in.data(), s.in.data() + used, s.have - used);
            s.have -= used;
            CheckSync(s);
            return length;
        }
        // A peer that closed inside a packet has ended the stream too.
        if (s.ended) return Fail(NL_MESSAGE_END), NL_INVALID;
        if (s.readErrno) return ConnectionFail(s.readErrno), NL_INVALID;
        if (!Fill(s) && !s.blocking) return 0;
    }
}

NLint ReadStream(Socket& s, void* buffer, NLint nbytes) {
    std::lock_guard guard(s.readLock);
    for (;;) {
        ssize_t n = recv(s.fd, buffer, static_cast<size_t>(nbytes), 0);
        if (n > 0) return static_cast<NLint>(n);
        if (n == 0) return Fail(NL_MESSAGE_END), NL_INVALID;
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) return 0;
        return ConnectionFail(errno), NL_INVALID;
    }
}

// ---- Sending (sendLock held)

// Sends what the kernel takes now (all of it on a blocking socket); -1 on failure.
ssize_t SendSome(Socket& s, iovec* parts, int count) {
    msghdr message{};
    message.msg_iov = parts;
    message.msg_iovlen = static_cast<size_t>(count);
    for (;;) {
        ssize_t n = sendmsg(s.fd, &message, MSG_NOSIGNAL);
        if (n >= 0) return n;
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) return 0;
        ConnectionFail(errno);
        return -1;
    }
}

// Sends the unsent tail of earlier packets; false on failure.
bool Flush(Socket& s) {
    while (s.pendingSent < s.pending.size()) {
        iovec part{s.pending.data() + s.pendingSent, s.pending.size() - s.pendingSent};
        ssize_t n = SendSome(s, &part, 1);
        if (n < 0) return false;
        if (n == 0) return true;
        s.pendingSent += static_cast<size_t>(n);
    }
    s.pending.clear();
    s.pendingSent = 0;
    return true;
}

NLint WritePacket(Socket& s, const void* buffer, NLint nbytes) {
    std::lock_guard guard(s.sendLock);
    if (!Flush(s)) return NL_INVALID;
    if (!s.pending.empty()) return 0;
    uint8_t header[kHeaderSize] = {'N', 'L', static_cast<uint8_t>(nbytes >> 8), static_cast<uint8_t>(nbytes)};
    iovec parts[2] = {{header, kHeaderSize}, {const_cast<void*>(buffer), static_cast<size_t>(nbytes)}};
    size_t total = static_cast<size_t>(kHeaderSize + nbytes);
    size_t sent = 0;
    do {
        ssize_t n = SendSome(s, parts, 2);
        if (n < 0) return NL_INVALID;
        if (n == 0) break;
        sent += static_cast<size_t>(n);
        for (iovec& part : parts) {
            size_t step = std::min(part.iov_len, static_cast<size_t>(n));
            part.iov_base = static_cast<uint8_t*>(part.iov_base) + step;
            part.iov_len -= step;
            n -= static_cast<ssize_t>(step);
        }
    } while (sent < total && s.blocking);
    if (sent < total) {
        // Kept and sent by later calls: the caller sees the packet accepted.
        for (const iovec& part : parts)
            s.pending.insert(s.pending.end(), static_cast<uint8_t*>(part.iov_base),
                             static_cast<uint8_t*>(part.iov_base) + part.iov_len);
    }
    return nbytes;
}

NLint WritePackets(Socket& s, const void* const* buffers, const NLint* nbytes, NLint count) {
    std::lock_guard guard(s.sendLock);
    if (!Flush(s)) return NL_INVALID;
    if (!s.pending.empty()) return 0;
    count = std::min(count, kPacketsPerWrite);
    std::array<std::array<uint8_t, kHeaderSize>, kPacketsPerWrite> headers;
    std::array<iovec, 2 * kPacketsPerWrite> parts;
    for (NLint i = 0; i < count; ++i) {
        headers[i] = {'N', 'L', static_cast<uint8_t>(nbytes[i] >> 8), static_cast<uint8_t>(nbytes[i])};
        parts[2 * i] = {headers[i].data(), kHeaderSize};
        parts[2 * i + 1] = {const_cast<void*>(buffers[i]), static_cast<size_t>(nbytes[i])};
    }
    ssize_t sent = SendSome(s, parts.data(), 2 * count);
    if (sent < 0) return NL_INVALID;
    // Whole packets went out; the one cut short is kept and sent by later calls.
    size_t left = static_cast<size_t>(sent);
    NLint accepted = 0;
    for (; accepted < count && left > 0; ++accepted) {
        size_t size = static_cast<size_t>(kHeaderSize + nbytes[accepted]);
        if (left < size) {
            for (int part = 0; part < 2; ++part) {
                const iovec& piece = parts[2 * accepted + part];
                size_t skip = std::min(left, piece.iov_len);
                left -= skip;
                s.pending.insert(s.pending.end(), static_cast<uint8_t*>(piece.iov_base) + skip,
                                 static_cast<uint8_t*>(piece.iov_base) + piece.iov_len);
            }
            return accepted + 1;
        }
        left -= size;
    }
    return accepted;
}

NLint WriteStream(Socket& s, const void* buffer, NLint nbytes) {
    std::lock_guard guard(s.sendLock);
    size_t sent = 0;
    do {
        iovec part{const_cast<uint8_t*>(static_cast<const uint8_t*>(buffer)) + sent,
                   static_cast<size_t>(nbytes) - sent};
        ssize_t n = SendSome(s, &part, 1);
        if (n < 0) return NL_INVALID;
        if (n == 0) break;
        sent += static_cast<size_t>(n);
    } while (sent < static_cast<size_t>(nbytes) && s.blocking);
    return static_cast<NLint>(sent);
}

std::vector<NLaddress> HostNameAddresses() {
    std::vector<NLaddress> result;
    char name[256] = {};
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (gethostname(name, sizeof name - 1) == 0 && getaddrinfo(name, nullptr, &hints, &found) == 0) {
        for (addrinfo* a = found; a; a = a->ai_next) {
            NLaddress address;
            address.host = ntohl(reinterpret_cast<sockaddr_in*>(a->ai_addr)->sin_addr.s_addr);
            address.valid = NL_TRUE;
            bool seen = std::any_of(result.begin(), result.end(),
                                    [&](const NLaddress& other) { return other.host == address.host; });
            if (!seen) result.push_back(address);
        }
        freeaddrinfo(found);
    }
    if (result.empty()) result.push_back({INADDR_LOOPBACK, 0, NL_TRUE});
    return result;
}

} // namespace

// ---- Start and shut-down

NLboolean nlInit() {
    Library& lib = Lib();
    std::lock_guard guard(lib.lock);
    ++lib.initCount;
    return NL_TRUE;
}

void nlShutdown() {
    Library& lib = Lib();
    std::map<NLsocket, SocketPtr> closing;
    {
        std::lock_guard guard(lib.lock);
        if (lib.initCount == 0) return;
        if (--lib.initCount > 0) return;
        closing.swap(lib.sockets);
        lib.groups.clear();
        lib.blocking = false;
    }
}

NLboolean nlSelectNetwork(NLenum network) { return network == NL_IP ? NL_TRUE : Fail(NL_INVALID_ENUM); }

NLboolean nlEnable(NLenum option) {
    if (option == NL_BLOCKING_IO) {
        std::lock_guard guard(Lib().lock);
        Lib().blocking = true;
        return NL_TRUE;
    }
    return option == NL_SOCKET_STATS ? NL_TRUE : Fail(NL_INVALID_ENUM);
}

NLboolean nlDisable(NLenum option) {
    if (option == NL_BLOCKING_IO) {
        std::lock_guard guard(Lib().lock);
        Lib().blocking = false;
        return NL_TRUE;
    }
    return option == NL_SOCKET_STATS ? NL_TRUE : Fail(NL_INVALID_ENUM);
}

// ---- Sockets

NLsocket nlOpen(NLushort port, NLenum type) {
    bool blocking;
    {
        std::lock_guard guard(Lib().lock);
        if (Lib().initCount == 0) return Fail(NL_NO_NETWORK), NL_INVALID;
        blocking = Lib().blocking;
    }
    if (type != NL_RELIABLE && type != NL_RELIABLE_PACKETS) return Fail(NL_INVALID_TYPE), NL_INVALID;
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return SystemFail(errno), NL_INVALID;
    auto s = std::make_shared<Socket>(fd);
    s->type = type;
    s->blocking = blocking;
    SetBlocking(fd, blocking);
    int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    // Small packets go out at once: the protocol waits for answers.
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    if (port != 0) {
        sockaddr_in sa = ToSockaddr({INADDR_ANY, port, NL_TRUE});
        if (bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) return SystemFail(errno), NL_INVALID;
        s->bound = true;
        s->openedPort = port;
    }
    return Register(std::move(s));
}

NLboolean nlListen(NLsocket socket) {
    SocketPtr s = Find(socket);
    if (!s) return NL_FALSE;
    if (!s->bound) {
        sockaddr_in sa = ToSockaddr({INADDR_ANY, 0, NL_TRUE});
        if (bind(s->fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) return SystemFail(errno);
        s->bound = true;
    }
    if (listen(s->fd, SOMAXCONN) != 0) return SystemFail(errno);
    s->listening = true;
    return NL_TRUE;
}

NLboolean nlConnect(NLsocket socket, const NLaddress* address) {
    if (!address) return Fail(NL_NULL_POINTER);
    SocketPtr s = Find(socket);
    if (!s) return NL_FALSE;
    Settle(*s);
    if (s->link == Link::Connected) return Fail(NL_CONNECTED);
    if (s->link == Link::Pending) return Fail(NL_CON_PENDING);
    sockaddr_in sa = ToSockaddr(*address);
    SetBlocking(s->fd, false);
    int result = connect(s->fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
    int err = result == 0 ? 0 : errno;
    if (s->blocking) {
        SetBlocking(s->fd, true);
        if (err == EINPROGRESS) {
            pollfd p{s->fd, POLLOUT, 0};
            if (poll(&p, 1, kBlockingConnectMs) <= 0) {
                err = ETIMEDOUT;
            } else {
                socklen_t len = sizeof err;
                getsockopt(s->fd, SOL_SOCKET, SO_ERROR, &err, &len);
            }
        }
        s->link = err == 0 ? Link::Connected : Link::Failed;
        s->connectError = err;
        return err == 0 ? NL_TRUE : SystemFail(err);
    }
    if (err == 0 || err == EINPROGRESS) {
        s->link = err == 0 ? Link::Connected : Link::Pending;
        return NL_TRUE;
    }
    s->link = Link::Failed;
    s->connectError = err;
    if (err == ECONNREFUSED) return Fail(NL_CON_REFUSED);
    return SystemFail(err);
}

NLsocket nlAcceptConnection(NLsocket socket) {
    SocketPtr s = Find(socket);
    if (!s) return NL_INVALID;
    if (!s->listening) return Fail(NL_NOT_LISTEN), NL_INVALID;
    int fd = accept4(s->fd, nullptr, nullptr, SOCK_CLOEXEC | (s->blocking ? 0 : SOCK_NONBLOCK));
    if (fd < 0) {
        if (errno == EAGAIN || errno == EWOULDBLOCK) return Fail(NL_NO_PENDING), NL_INVALID;
        return ConnectionFail(errno), NL_INVALID;
    }
    int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    auto accepted = std::make_shared<Socket>(fd);
    accepted->type = s->type;
    accepted->blocking = s->blocking;
    accepted->link = Link::Connected;
    return Register(std::move(accepted));
}

NLsocket nlWrapDescriptor(int fd, NLenum type) {
    auto s = std::make_shared<Socket>(fd);
    s->type = type;
    s->link = Link::Connected;
    SetBlocking(fd, false);
    return Register(std::move(s));
}

NLint nlWritePackets(NLsocket socket, const void* const* buffers, const NLint* nbytes, NLint count) {
    if (!buffers || !nbytes || count < 0) return Fail(NL_NULL_POINTER), NL_INVALID;
    SocketPtr s = Find(socket);
    if (!s) return NL_INVALID;
    if (s->type != NL_RELIABLE_PACKETS || s->blocking) return Fail(NL_INVALID_TYPE), NL_INVALID;
    for (NLint i = 0; i < count; ++i) {
        if (!buffers[i] || nbytes[i] < 0) return Fail(NL_NULL_POINTER), NL_INVALID;
        if (nbytes[i] > NL_MAX_PACKET_LENGTH) return Fail(NL_PACKET_SIZE), NL_INVALID;
    }
    if (!ReadyForIo(*s)) return NL_INVALID;
    return WritePackets(*s, buffers, nbytes, count);
}

NLboolean nlPartialPacket(NLsocket socket) {
    SocketPtr s = Find(socket);
    if (!s) return NL_FALSE;
    std::lock_guard guard(s->readLock);
    return s->type == NL_RELIABLE_PACKETS && !s->outOfSync && s->have > 0 && CompletePacket(*s) < 0;
}

NLint nlRead(NLsocket socket, void* buffer, NLint nbytes) {
    if (!buffer || nbytes < 0) return Fail(NL_NULL_POINTER), NL_INVALID;
    SocketPtr s = Find(socket);
    if (!s || !ReadyForIo(*s)) return NL_INVALID;
    if (s->listening) return SystemFail(ENOTCONN), NL_INVALID;
    {
        // Reading is also when the tail of an earlier write goes out.
        std::unique_lock send(s->sendLock, std::try_to_lock);
        if (send.owns_lock()) Flush(*s);
    }
    return s->type == NL_RELIABLE_PACKETS ? ReadPacket(*s, buffer, nbytes) : ReadStream(*s, buffer, nbytes);
}

NLint nlWrite(NLsocket socket, const void* buffer, NLint nbytes) {
    if (!buffer || nbytes < 0) return Fail(NL_NULL_POINTER), NL_INVALID;
    SocketPtr s = Find(socket);
    if (!s) return NL_INVALID;
    if (s->type == NL_RELIABLE_PACKETS && nbytes > NL_MAX_PACKET_LENGTH) return Fail(NL_PACKET_SIZE), NL_INVALID;
    if (!ReadyForIo(*s)) return NL_INVALID;
    return s->type == NL_RELIABLE_PACKETS ? WritePacket(*s, buffer, nbytes) : WriteStream(*s, buffer, nbytes);
}

NLboolean nlClose(NLsocket socket) {
    Library& lib = Lib();
    SocketPtr closing; // closed outside the lock, once no call holds it
    std::lock_guard guard(lib.lock);
    auto it = lib.sockets.find(socket);
    if (it == lib.sockets.end()) return Fail(NL_INVALID_SOCKET);
    closing = std::move(it->second);
    lib.sockets.erase(it);
    for (auto& [id, members] : lib.groups) std::erase(members, socket);
    return NL_TRUE;
}

// ---- Errors

NLenum nlGetError() { return lastError; }
NLint nlGetSystemError() { return lastSystemError; }

// ---- Groups and polling

NLint nlGroupCreate() {
    Library& lib = Lib();
    std::lock_guard guard(lib.lock);
    while (lib.groups.contains(200001 + lib.nextGroupSlot)) ++lib.nextGroupSlot;
    NLint id = 200001 + lib.nextGroupSlot++;
    lib.groups[id];
    return id;
}

NLboolean nlGroupDestroy(NLint group) {
    std::lock_guard guard(Lib().lock);
    return Lib().groups.erase(group) ? NL_TRUE : Fail(NL_INVALID_GROUP);
}

NLboolean nlGroupAddSocket(NLint group, NLsocket socket) {
    Library& lib = Lib();
    std::lock_guard guard(lib.lock);
    auto it = lib.groups.find(group);
    if (it == lib.groups.end()) return Fail(NL_INVALID_GROUP);
    if (!lib.sockets.contains(socket)) return Fail(NL_INVALID_SOCKET);
    if (it->second.size() >= static_cast<size_t>(NL_MAX_GROUP_SOCKETS)) return Fail(NL_OUT_OF_GROUP_SOCKETS);
    if (std::find(it->second.begin(), it->second.end(), socket) == it->second.end()) it->second.push_back(socket);
    return NL_TRUE;
}

NLboolean nlGroupDeleteSocket(NLint group, NLsocket socket) {
    Library& lib = Lib();
    std::lock_guard guard(lib.lock);
    auto it = lib.groups.find(group);
    if (it == lib.groups.end()) return Fail(NL_INVALID_GROUP);
    std::erase(it->second, socket);
    return NL_TRUE;
}

NLint nlPollGroup(NLint group, NLenum name, NLsocket* sockets, NLint number, NLint timeout) {
    if (!sockets && number > 0) return Fail(NL_NULL_POINTER), NL_INVALID;
    if (name != NL_READ_STATUS && name != NL_WRITE_STATUS && name != NL_ERROR_STATUS)
        return Fail(NL_INVALID_ENUM), NL_INVALID;
    std::vector<NLsocket> ids;
    std::vector<SocketPtr> members;
    {
        Library& lib = Lib();
        std::lock_guard guard(lib.lock);
        auto it = lib.groups.find(group);
        if (it == lib.groups.end()) return Fail(NL_INVALID_GROUP), NL_INVALID;
        for (NLsocket id : it->second) {
            ids.push_back(id);
            members.push_back(lib.sockets.at(id));
        }
    }
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(timeout, 0));
    std::vector<char> ready(members.size(), 0);
    std::vector<pollfd> fds(members.size());
    for (;;) {
        bool any = false;
        for (size_t i = 0; i < members.size(); ++i) {
            Socket& s = *members[i];
            short events = name == NL_READ_STATUS ? POLLIN : name == NL_WRITE_STATUS ? POLLOUT : 0;
            if (s.type == NL_RELIABLE_PACKETS && !s.listening) {
                {
                    std::unique_lock send(s.sendLock, std::try_to_lock);
                    if (send.owns_lock()) Flush(s);
                }
                if (name == NL_READ_STATUS) {
                    std::lock_guard guard(s.readLock);
                    if (PacketWaiting(s)) ready[i] = 1, events = 0;
                }
            }
            any |= ready[i] != 0;
            fds[i] = {s.fd, events, 0};
        }
        int wait = any || timeout == 0 ? 0
                   : timeout < 0
                       ? -1
                       : static_cast<int>(std::max<int64_t>(0, std::chrono::duration_cast<std::chrono::milliseconds>(
                                                                   deadline - std::chrono::steady_clock::now())
                                                                   .count()));
        int polled = poll(fds.data(), fds.size(), wait);
        if (polled < 0 && errno != EINTR) return SystemFail(errno), NL_INVALID;
        for (size_t i = 0; polled > 0 && i < members.size(); ++i) {
            Socket& s = *members[i];
            if (!fds[i].revents || ready[i]) continue;
            if (name == NL_READ_STATUS && s.type == NL_RELIABLE_PACKETS && !s.listening) {
                // Ready only once a whole packet, an end, an error or lost framing is here.
                std::lock_guard guard(s.readLock);
                Fill(s);
                ready[i] = PacketWaiting(s);
            } else if (name == NL_ERROR_STATUS) {
                ready[i] = (fds[i].revents & (POLLERR | POLLHUP)) != 0;
            } else {
                ready[i] = 1;
            }
            any |= ready[i] != 0;
        }
        if (any || timeout == 0 || (timeout > 0 && std::chrono::steady_clock::now() >= deadline)) break;
    }
    NLint count = 0;
    for (size_t i = 0; i < members.size(); ++i) {
        if (!ready[i]) continue;
        if (count < number) sockets[count] = ids[i];
        ++count;
    }
    if (count > number) return Fail(NL_BUFFER_SIZE), NL_INVALID;
    return count;
}

// ---- Addresses

NLboolean nlGetLocalAddr(NLsocket socket, NLaddress* address) {
    if (!address) return Fail(NL_NULL_POINTER);
    SocketPtr s = Find(socket);
    if (!s) return NL_FALSE;
    Settle(*s);
    if (s->link == Link::Connected) {
        sockaddr_in sa{};
        socklen_t len = sizeof sa;
        if (getsockname(s->fd, reinterpret_cast<sockaddr*>(&sa), &len) != 0) return SystemFail(errno);
        *address = {ntohl(sa.sin_addr.s_addr), ntohs(sa.sin_port), NL_TRUE};
        return NL_TRUE;
    }
    *address = HostNameAddresses().front();
    address->port = s->openedPort;
    return NL_TRUE;
}

NLboolean nlGetRemoteAddr(NLsocket socket, NLaddress* address) {
    if (!address) return Fail(NL_NULL_POINTER);
    SocketPtr s = Find(socket);
    if (!s) return NL_FALSE;
    sockaddr_in sa{};
    socklen_t len = sizeof sa;
    if (getpeername(s->fd, reinterpret_cast<sockaddr*>(&sa), &len) != 0) return SystemFail(errno);
    *address = {ntohl(sa.sin_addr.s_addr), ntohs(sa.sin_port), NL_TRUE};
    return NL_TRUE;
}

NLaddress* nlGetAllLocalAddr(NLint* count) {
    thread_local std::vector<NLaddress> addresses;
    addresses = HostNameAddresses();
    if (count) *count = static_cast<NLint>(addresses.size());
    return addresses.data();
}

NLchar* nlAddrToString(const NLaddress* address, NLchar* string) {
    if (!address || !string) return Fail(NL_NULL_POINTER), nullptr;
    uint32_t h = address->host;
    if (address->port == 0)
        std::snprintf(string, NL_MAX_STRING_LENGTH, "%u.%u.%u.%u", h >> 24, h >> 16 & 255, h >> 8 & 255, h & 255);
    else
        std::snprintf(string, NL_MAX_STRING_LENGTH, "%u.%u.%u.%u:%u", h >> 24, h >> 16 & 255, h >> 8 & 255, h & 255,
                      address->port);
    return string;
}

NLboolean nlStringToAddr(const NLchar* string, NLaddress* address) {
    if (!string || !address) return Fail(NL_NULL_POINTER);
    address->valid = NL_FALSE;
    std::string text(string);
    unsigned long port = 0;
    size_t colon = text.find(':');
    if (colon != std::string::npos) {
        std::string digits = text.substr(colon + 1);
        char* end = nullptr;
        port = std::strtoul(digits.c_str(), &end, 10);
        if (digits.empty() || *end || digits[0] == '-' || digits[0] == '+' || port > 65535) return Fail(NL_BAD_ADDR);
        text.resize(colon);
    }
    in_addr host{};
    if (inet_pton(AF_INET, text.c_str(), &host) != 1) return Fail(NL_BAD_ADDR);
    *address = {ntohl(host.s_addr), static_cast<uint16_t>(port), NL_TRUE};
    return NL_TRUE;
}

NLboolean nlSetAddrPort(NLaddress* address, NLushort port) {
    if (!address) return Fail(NL_NULL_POINTER);
    address->port = port;
    return NL_TRUE;
}

NLboolean nlGetAddrFromName(const NLchar* name, NLaddress* address) {
    if (!name || !address) return Fail(NL_NULL_POINTER);
    address->valid = NL_FALSE;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(name, nullptr, &hints, &found) != 0 || !found) return Fail(NL_BAD_ADDR);
    *address = {ntohl(reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr.s_addr), 0, NL_TRUE};
    freeaddrinfo(found);
    return NL_TRUE;
}

// ---- Threads and mutexes

struct NLthread {
    std::thread thread;
    void* status = nullptr;
};

struct NLmutexRecord {
    std::mutex mutex;
};

NLthreadID nlThreadCreate(NLThreadFunc func, void* data, NLboolean joinable) {
    auto* record = new NLthread;
    if (joinable) {
        record->thread = std::thread([record, func, data] { record->status = func(data); });
    } else {
        std::thread([record, func, data] {
            func(data);
            delete record;
        }).detach();
    }
    return record;
}

NLboolean nlThreadJoin(NLthreadID thread, void** status) {
    if (!thread || !thread->thread.joinable()) return Fail(NL_NULL_POINTER);
    thread->thread.join();
    if (status) *status = thread->status;
    delete thread;
    return NL_TRUE;
}

NLboolean nlMutexInit(NLmutex* mutex) {
    if (!mutex) return Fail(NL_NULL_POINTER);
    *mutex = new NLmutexRecord;
    return NL_TRUE;
}

NLboolean nlMutexLock(NLmutex* mutex) {
    if (!mutex || !*mutex) return Fail(NL_NULL_POINTER);
    (*mutex)->mutex.lock();
    return NL_TRUE;
}

NLboolean nlMutexUnlock(NLmutex* mutex) {
    if (!mutex || !*mutex) return Fail(NL_NULL_POINTER);
    (*mutex)->mutex.unlock();
    return NL_TRUE;
}

NLboolean nlMutexDestroy(NLmutex* mutex) {
    if (!mutex || !*mutex) return Fail(NL_NULL_POINTER);
    delete *mutex;
    *mutex = nullptr;
    return NL_TRUE;
}
