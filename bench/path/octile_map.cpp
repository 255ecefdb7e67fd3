// Octile maps: the generators write the text a map file holds, the reader parses it.
#include "bench/path/octile_map.h"

#include <algorithm>
#include <random>
#include <sstream>
#include <utility>
#include <vector>

namespace {

using Rows = std::vector<std::string>;

std::string MapText(const Rows& rows) {
    std::string text =
        "type octile\nheight " + std::to_string(rows.size()) + "\nwidth " + std::to_string(rows[0].size()) + "\nmap\n";
    for (const std::string& row : rows) text += row + "\n";
    return text;
}

} // namespace

std::string RoomMapText(int32_t size, uint32_t seed) {
    std::mt19937 random(seed);
    Rows rows(size_t(size), std::string(size_t(size), '@'));
    auto open = [&rows](int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
        for (int32_t y = std::min(y0, y1); y <= std::max(y0, y1); ++y)
            for (int32_t x = std::min(x0, x1); x <= std::max(x0, x1); ++x) rows[y][x] = '.';
    };
    auto between = [&random](int32_t low, int32_t high) { return std::uniform_int_distribution(low, high)(random); };
    std::pair<int32_t, int32_t> previous{-1, -1};
    for (int32_t room = 0; room < size * size / 2048; ++room) {
        const int32_t w = between(6, 30), h = between(6, 30);
        const int32_t x = between(1, size - w - 2), y = between(1, size - h - 2);
        open(x, y, x + w, y + h);
        const std::pair<int32_t, int32_t> centre{x + w / 2, y + h / 2};
        if (previous.first >= 0) { // an L-shaped corridor two cells wide to the room before
            open(previous.first, previous.second, centre.first, previous.second + 1);
            open(centre.first, previous.second, centre.first + 1, centre.second);
        }
        previous = centre;
    }
    return MapText(rows);
}

std::string MazeMapText(int32_t size, uint32_t seed) {
    std::mt19937 random(seed);
    Rows rows(size_t(size), std::string(size_t(size), 'W'));
    const int32_t cells = (size - 1) / 2; // passages at odd coordinates
    std::vector<std::pair<int32_t, int32_t>> stack{{0, 0}};
    rows[1][1] = '.';
    while (!stack.empty()) { // depth-first carving
        auto [cx, cy] = stack.back();
        std::pair<int32_t, int32_t> choices[4];
        int n = 0;
        for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
            const int32_t nx = cx + dx, ny = cy + dy;
            if (nx >= 0 && nx < cells && ny >= 0 && ny < cells && rows[2 * ny + 1][2 * nx + 1] != '.')
                choices[n++] = {nx, ny};
        }
        if (n == 0) {
            stack.pop_back();
            continue;
        }
        auto [nx, ny] = choices[random() % n];
        rows[cy + ny + 1][cx + nx + 1] = '.';
        rows[2 * ny + 1][2 * nx + 1] = '.';
        stack.push_back({nx, ny});
    }
    return MapText(rows);
}

bool ReadOctileMap(const std::string& text, RtArray<double>& grid) {
    std::istringstream in(text);
    std::string word, type;
    int32_t height = 0, width = 0;
    if (!(in >> word >> type) || word != "type") return false;
    while (in >> word && word != "map") {
        if (word == "height")
            in >> height;
        else if (word == "width")
            in >> width;
        else
            return false;
    }
    if (word != "map" || width <= 0 || height <= 0 || int64_t(width) * height > (int64_t(1) << 26)) return false;
    Dim(grid, width, height);
    std::string row;
    std::getline(in, row); // the end of the "map" line
    for (int32_t y = 0; y < height; ++y) {
        if (!std::getline(in, row)) return false;
        if (!row.empty() && row.back() == '\r') row.pop_back();
        if (int32_t(row.size()) != width) return false;
        for (int32_t x = 0; x < width; ++x) grid(x, y) = row[x] == '.' || row[x] == 'G' || row[x] == 'S' ? 1 : 0;
    }
    return true;
}
