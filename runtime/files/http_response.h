// An HTTP response read as it arrives: the header, then the body as its framing says (a length,
// chunks, or the end of the stream), with the checks that keep a server from storing more or other
// than it announced.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

enum class HttpStage { Header, Body, Done, Failed };

struct HttpResponse {
    HttpStage stage = HttpStage::Header;
    uint64_t maxBody = 0; // more body than this fails
    uint64_t bodyBytes = 0;

    // The header ends at two line feeds with nothing but carriage returns between them.
    std::string header;
    int lineFeeds = 0;

    enum class Framing { ToEnd, Length, Chunked } framing = Framing::ToEnd;
    uint64_t remaining = 0; // Length: body bytes still due; Chunked: bytes left of this chunk
    enum class ChunkPart { Size, DataEnd, Trailer } chunkPart = ChunkPart::Size;
    std::string line; // the chunk-size, chunk-end or trailer line so far
};

using HttpBodySink = std::function<bool(std::string_view)>;

// Takes the next received bytes; the body goes to sink. Failed at once on a status other than
// 2xx, a header over 64 KiB, an unparsable or doubled length, a transfer coding other than chunked,
// bad chunk framing, bytes past the body's end, a body over maxBody, or sink returning false.
void HttpFeed(HttpResponse& response, std::string_view bytes, const HttpBodySink& sink);
// At the end of the stream: true when the whole body has arrived.
bool HttpFinish(HttpResponse& response);
