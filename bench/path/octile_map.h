// Game-like maps in the Moving AI "octile" text format: generated rooms and mazes, and a reader
// so that real maps can be dropped in.
#pragma once

#include "runtime/core/rt_array.h"

#include <cstdint>
#include <string>

// Rooms of random sizes joined by corridors, every room reachable.
std::string RoomMapText(int32_t size, uint32_t seed);
// A maze of one-cell passages between one-cell walls, every passage reachable.
std::string MazeMapText(int32_t size, uint32_t seed);
// grid[x][y] = 1 for '.', 'G', 'S' and 0 for every other cell ('@', 'O', 'T', 'W'); false on a
// malformed text.
bool ReadOctileMap(const std::string& text, RtArray<double>& grid);
