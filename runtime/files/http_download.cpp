// HttpGetToFile: an HTTP/1.0 GET over our HawkNL layer, the body stored through a temporary file
// that takes the target's name only when the whole body has arrived.
#include "platform/files.h"
#include "platform/nl.h"
#include "platform/paths.h"
#include "runtime/core/number_convert.h"
#include "runtime/files/system_services.h"

#include <array>
#include <cctype>
#include <charconv>
#include <optional>
#include <string>
#include <string_view>

namespace {

constexpr size_t kMaxHeader = 65536;

// The response header as far as the download cares: a 2xx status and the announced length.
struct ResponseHead {
    bool success = false;
    std::optional<uint64_t> contentLength;
};

ResponseHead ParseHead(std::string_view header) {
    ResponseHead head;
    int status = 0;
    size_t space = header.find(' ');
    if (header.starts_with("HTTP/") && space != std::string_view::npos) {
        std::string_view code = header.substr(space + 1, 3);
        std::from_chars(code.data(), code.data() + code.size(), status);
    }
    head.success = status >= 200 && status <= 299;
    size_t start = 0;
    while (start < header.size()) {
        size_t end = header.find('\n', start);
        std::string_view line = header.substr(start, end == std::string_view::npos ? end : end - start);
        start = end == std::string_view::npos ? header.size() : end + 1;
        constexpr std::string_view kName = "content-length:";
        if (line.size() < kName.size()) continue;
        bool match = true;
        for (size_t i = 0; i < kName.size(); ++i)
            match &= std::tolower(static_cast<unsigned char>(line[i])) == kName[i];
        if (!match) continue;
        std::string_view value = line.substr(kName.size());
        while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
        uint64_t length = 0;
        if (std::from_chars(value.data(), value.data() + value.size(), length).ec == std::errc())
            head.contentLength = length;
    }
    return head;
}

bool HasLineBreakOrNul(std::string_view text) { return text.find_first_of(std::string_view("\r\n\0", 3)) != text.npos; }

// The library is started for the download alone and the socket and group are given back on every path.
struct Connection {
    NLsocket socket = NL_INVALID;
    NLint group = NL_INVALID;
    ~Connection() {
        if (socket != NL_INVALID) nlClose(socket);
        if (group != NL_INVALID) nlGroupDestroy(group);
        nlShutdown();
    }
};

} // namespace

HttpTimeouts& HttpLimits() {
    static HttpTimeouts limits;
    return limits;
}

double HttpGetToFile(const RtString& host, const RtString& path, double port, const RtString& localFile) {
    int32_t portNumber = NumberToInt(port);
    if (HasLineBreakOrNul(host.view()) || HasLineBreakOrNul(path.view()) || portNumber < 1 || portNumber > 65535 ||
        localFile.Length() == 0 || localFile.Length() > platform::kMaxFileName)
        return 0;
    if (!nlInit()) return 0;
    Connection connection;
    if (!nlSelectNetwork(NL_IP) || !nlEnable(NL_SOCKET_STATS) || !nlEnable(NL_BLOCKING_IO)) return 0;
    NLaddress address;
    if (!nlGetAddrFromName(host.c_str(), &address)) return 0;
    nlSetAddrPort(&address, static_cast<NLushort>(portNumber));
    connection.socket = nlOpen(0, NL_RELIABLE);
    // Only this socket blocks: a session's sockets opened later must not.
    nlDisable(NL_BLOCKING_IO);
    if (connection.socket == NL_INVALID || !nlConnect(connection.socket, &address)) return 0;

    platform::FileReplacement file(platform::SystemPath(std::string(localFile.view())));
    if (!file.IsOpen()) return 0;

    std::string request = "GET " + std::string(path.view()) + " HTTP/1.0\r\nHost:" + std::string(host.view()) +
                          "\r\nAccept: */*\r\nUser-Agent: Ravlin game\r\n\r\n";
    NLint requestLength = static_cast<NLint>(request.size());
    if (nlWrite(connection.socket, request.data(), requestLength) != requestLength) return 0;

    connection.group = nlGroupCreate();
    nlGroupAddSocket(connection.group, connection.socket);
    std::array<char, 4095> buffer;
    std::string header;
    bool headerDone = false;
    int lineFeeds = 0;
    uint64_t bodyBytes = 0;
    bool written = true;
    for (;;) {
        NLsocket ready;
        if (nlPollGroup(connection.group, NL_READ_STATUS, &ready, 1, HttpLimits().receiveMs) != 1) return 0;
        NLint count = nlRead(connection.socket, buffer.data(), static_cast<NLint>(buffer.size()));
        if (count < 0) break;
        NLint bodyStart = 0;
        // The header ends at two line feeds with nothing but carriage returns between them, counted
        // across reads.
        for (NLint i = 0; !headerDone && i < count; ++i) {
            char byte = buffer[static_cast<size_t>(i)];
            header += byte;
            if (byte == '\n')
                headerDone = ++lineFeeds == 2;
            else if (byte != '\r')
                lineFeeds = 0;
            bodyStart = i + 1;
        }
        if (!headerDone) {
            if (header.size() > kMaxHeader) return 0;
            continue;
        }
        if (count > bodyStart) {
            written &= file.Write(buffer.data() + bodyStart, static_cast<size_t>(count - bodyStart));
            bodyBytes += static_cast<uint64_t>(count - bodyStart);
        }
    }
    if (nlGetError() != NL_MESSAGE_END || !headerDone || !written) return 0;
    ResponseHead head = ParseHead(header);
    if (!head.success || (head.contentLength && bodyBytes < *head.contentLength)) return 0;
    return file.Commit() ? 1 : 0;
}
