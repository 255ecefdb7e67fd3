// The other process of the network benchmarks: runs the session commands it reads, one a
// line, and writes one answer line for each.
#include "runtime/net/net.h"
#include "runtime/net/net_session.h"

#include <iostream>
#include <sstream>
#include <string>

namespace {

std::string Rest(std::istringstream& words) {
    std::string rest;
    std::getline(words, rest);
    return rest.empty() ? rest : rest.substr(1);
}

} // namespace

int main() {
    NetworkCreate();
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream words(line);
        std::string command;
        words >> command;
        std::string answer;
        if (command == "fast") {
            NetworkSession()->timings.waitChecks = 50;
            NetworkSession()->timings.sendGiveUpMs = 1000;
            answer = "ok";
        } else if (command == "pass") {
            int ms = 10;
            words >> ms;
            NetworkSession()->timings.passSleepMs = ms;
            answer = "ok";
        } else if (command == "host") {
            double port;
            words >> port;
            answer = std::to_string(static_cast<int>(NetHostSession(port)));
        } else if (command == "join") {
            std::string address;
            double port;
            words >> address >> port;
            answer =
                std::to_string(static_cast<int>(NetJoinSession(RtString(address == "-" ? "" : address.c_str()), port)));
        } else if (command == "create") {
            answer = NetCreatePlayer(RtString(Rest(words))).c_str();
        } else if (command == "remove") {
            std::string id;
            words >> id;
            answer = std::to_string(static_cast<int>(NetRemovePlayer(RtString(id.c_str()))));
        } else if (command == "send") {
            std::string from, to;
            words >> from >> to;
            answer = std::to_string(
                static_cast<int>(NetSendMessage(RtString(from.c_str()), RtString(to.c_str()), RtString(Rest(words)))));
        } else if (command == "burst") {
            // count messages "<n>:" padded with dots to size bytes
            std::string from, to;
            int count = 0, size = 0, sent = 0;
            words >> from >> to >> count >> size;
            for (int i = 0; i < count; ++i) {
                std::string text = std::to_string(i) + ":";
                text.resize(static_cast<size_t>(size), '.');
                sent += static_cast<int>(NetSendMessage(RtString(from.c_str()), RtString(to.c_str()), RtString(text)));
            }
            answer = std::to_string(sent);
        } else if (command == "recv") {
            std::string id;
            words >> id;
            answer = NetReceiveMessage(RtString(id.c_str())).c_str();
            answer += "\t" + std::string(NetLastSender().c_str());
        } else if (command == "count") {
            answer = std::to_string(static_cast<int>(NetPlayerCount()));
        } else if (command == "index") {
            double index;
            words >> index;
            answer = std::to_string(static_cast<int>(NetPlayerIdByIndex(index)));
        } else if (command == "name") {
            std::string id;
            words >> id;
            answer = NetPlayerName(RtString(id.c_str())).c_str();
        } else if (command == "quit") {
            NetworkDestroy();
            std::cout << "bye" << std::endl;
            return 0;
        } else {
            answer = "unknown";
        }
        std::cout << answer << std::endl;
    }
    NetworkDestroy();
    return 0;
}
