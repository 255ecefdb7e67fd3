// Reading an HTTP response: the header's status and framing, the body by length, chunks or stream end.
#include "runtime/files/http_response.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>

namespace {

constexpr size_t kMaxHeader = 65536;
constexpr size_t kMaxChunkLine = 4096;

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
    return text;
}

bool SameLetters(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// A number made of the given base's digits alone, or nothing.
std::optional<uint64_t> Number(std::string_view text, int base) {
    uint64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

bool Fail(HttpResponse& response) {
    response.stage = HttpStage::Failed;
    return false;
}

// The status and the body's framing, once the header is whole.
bool ReadHead(HttpResponse& response) {
    std::string_view header = response.header;
    size_t space = header.find(' ');
    if (!header.starts_with("HTTP/") || space == std::string_view::npos) return Fail(response);
    std::optional<uint64_t> status = Number(header.substr(space + 1, 3), 10);
    if (!status || *status < 200 || *status > 299) return Fail(response);
    std::optional<uint64_t> length;
    bool chunked = false;
    for (size_t start = header.find('\n') + 1; start < header.size();) {
        size_t end = std::min(header.find('\n', start), header.size());
        std::string_view line = header.substr(start, end - start);
        start = end + 1;
        size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        std::string_view name = line.substr(0, colon), value = Trim(line.substr(colon + 1));
        if (SameLetters(name, "content-length")) {
            std::optional<uint64_t> number = Number(value, 10);
            if (!number || (length && *length != *number)) return Fail(response);
            length = number;
        } else if (SameLetters(name, "transfer-encoding")) {
            if (SameLetters(value, "chunked"))
                chunked = true;
            else if (!SameLetters(value, "identity"))
                return Fail(response);
        }
    }
    // Both at once leave the body's end in doubt.
    if (length && chunked) return Fail(response);
    if (length && *length > response.maxBody) return Fail(response);
    response.framing = chunked  ? HttpResponse::Framing::Chunked
                       : length ? HttpResponse::Framing::Length
                                : HttpResponse::Framing::ToEnd;
    response.remaining = length.value_or(0);
    response.stage = response.framing == HttpResponse::Framing::Length && response.remaining == 0 ? HttpStage::Done
                                                                                                  : HttpStage::Body;
    return true;
}

bool Store(HttpResponse& response, std::string_view bytes, const HttpBodySink& sink) {
    if (bytes.size() > response.maxBody - response.bodyBytes || !sink(bytes)) return Fail(response);
    response.bodyBytes += bytes.size();
    return true;
}

// One chunk-size, chunk-end or trailer line, without its line feed.
bool ChunkLine(HttpResponse& response, std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    switch (response.chunkPart) {
    case HttpResponse::ChunkPart::Size: {
        std::optional<uint64_t> size = Number(Trim(line.substr(0, line.find(';'))), 16);
        if (!size || *size > response.maxBody) return Fail(response);
        response.remaining = *size;
        response.chunkPart = *size == 0 ? HttpResponse::ChunkPart::Trailer : HttpResponse::ChunkPart::DataEnd;
        return true;
    }
    case HttpResponse::ChunkPart::DataEnd:
        if (!line.empty()) return Fail(response);
        response.chunkPart = HttpResponse::ChunkPart::Size;
        return true;
    case HttpResponse::ChunkPart::Trailer:
        if (line.empty()) response.stage = HttpStage::Done;
        return true;
    }
    return Fail(response);
}

void FeedChunked(HttpResponse& response, std::string_view bytes, const HttpBodySink& sink) {
    while (!bytes.empty() && response.stage == HttpStage::Body) {
        if (response.chunkPart == HttpResponse::ChunkPart::DataEnd && response.remaining > 0) {
            size_t take = static_cast<size_t>(std::min<uint64_t>(response.remaining, bytes.size()));
            if (!Store(response, bytes.substr(0, take), sink)) return;
            response.remaining -= take;
            bytes.remove_prefix(take);
            continue;
        }
        size_t end = bytes.find('\n');
        response.line.append(bytes.substr(0, end));
        if (response.line.size() > kMaxChunkLine) return void(Fail(response));
        if (end == std::string_view::npos) return;
        bytes.remove_prefix(end + 1);
        std::string line = std::move(response.line);
        response.line.clear();
        if (!ChunkLine(response, line)) return;
    }
    if (!bytes.empty() && response.stage == HttpStage::Done) Fail(response);
}

} // namespace

void HttpFeed(HttpResponse& response, std::string_view bytes, const HttpBodySink& sink) {
    while (response.stage == HttpStage::Header && !bytes.empty()) {
        char byte = bytes.front();
        bytes.remove_prefix(1);
        response.header += byte;
        if (byte == '\n') {
            if (++response.lineFeeds == 2) ReadHead(response);
        } else if (byte != '\r') {
            response.lineFeeds = 0;
        }
        if (response.header.size() > kMaxHeader) Fail(response);
    }
    if (bytes.empty() || response.stage == HttpStage::Failed) return;
    if (response.stage == HttpStage::Done) return void(Fail(response)); // past the body's end
    switch (response.framing) {
    case HttpResponse::Framing::ToEnd:
        Store(response, bytes, sink);
        break;
    case HttpResponse::Framing::Length:
        if (bytes.size() > response.remaining) return void(Fail(response));
        if (!Store(response, bytes, sink)) return;
        response.remaining -= bytes.size();
        if (response.remaining == 0) response.stage = HttpStage::Done;
        break;
    case HttpResponse::Framing::Chunked:
        FeedChunked(response, bytes, sink);
        break;
    }
}

bool HttpFinish(HttpResponse& response) {
    if (response.stage == HttpStage::Body && response.framing == HttpResponse::Framing::ToEnd)
        response.stage = HttpStage::Done;
    return response.stage == HttpStage::Done;
}
