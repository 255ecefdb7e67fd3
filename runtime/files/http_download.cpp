// HttpGetToFile: an HTTP/1.0 GET over our HawkNL layer, the body stored through a temporary file
// that takes the target's name only when the whole body has arrived, within a deadline and a size.
#include "platform/files.h"
#include "platform/nl.h"
#include "platform/paths.h"
#include "runtime/core/number_convert.h"
#include "runtime/files/http_response.h"
#include "runtime/files/system_services.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <string>
#include <string_view>

namespace {

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

HttpDownloadLimits& HttpLimits() {
    static HttpDownloadLimits limits;
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
    HttpResponse response;
    response.maxBody = HttpLimits().maxBytes;
    auto store = [&](std::string_view bytes) { return file.Write(bytes.data(), bytes.size()); };
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(HttpLimits().totalMs);
    std::array<char, 4095> buffer;
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return 0;
        NLint wait = static_cast<NLint>(std::min<int64_t>(left.count(), HttpLimits().receiveMs));
        NLsocket ready;
        if (nlPollGroup(connection.group, NL_READ_STATUS, &ready, 1, wait) != 1) return 0;
        NLint count = nlRead(connection.socket, buffer.data(), static_cast<NLint>(buffer.size()));
        if (count < 0) break;
        HttpFeed(response, std::string_view(buffer.data(), static_cast<size_t>(count)), store);
        if (response.stage == HttpStage::Failed) return 0;
    }
    if (nlGetError() != NL_MESSAGE_END || !HttpFinish(response)) return 0;
    return file.Commit() ? 1 : 0;
}
