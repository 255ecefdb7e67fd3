// Fuzzes the download's reading of a server's answer: the bytes arrive cut into reads of a size the
// input chooses, and must give the same outcome and body as when they arrive at once.
#include "runtime/files/http_response.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

struct Outcome {
    bool complete = false;
    std::string body;
};

Outcome Read(std::string_view answer, size_t piece) {
    HttpResponse response;
    response.maxBody = 4096;
    Outcome outcome;
    auto sink = [&](std::string_view bytes) {
        outcome.body += bytes;
        return true;
    };
    for (size_t offset = 0; offset < answer.size() && response.stage != HttpStage::Failed; offset += piece)
        HttpFeed(response, answer.substr(offset, piece), sink);
    outcome.complete = HttpFinish(response);
    if (outcome.body.size() != response.bodyBytes || outcome.body.size() > response.maxBody) std::abort();
    return outcome;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    size_t piece = data[0] % 64 + 1;
    std::string_view answer(reinterpret_cast<const char*>(data) + 1, size - 1);
    Outcome whole = Read(answer, answer.size() + 1);
    Outcome cut = Read(answer, piece);
    if (whole.complete != cut.complete || (whole.complete && whole.body != cut.body)) std::abort();
    return 0;
}
