// The game's own state, with names the runtime uses for its internals.
#pragma once

#include <string>
#include <vector>

struct RuntimeState {
    int frames = 0;
};

struct DataBlock {
    std::vector<int> values;
};

class LineFile {
  public:
    explicit LineFile(std::string line) : line_(std::move(line)) {}
    const std::string& Line() const { return line_; }

  private:
    std::string line_;
};
