// A private X server for tests that need a real window: Xvfb on a free display, stopped at the end.
#pragma once

#include <string>
#include <sys/types.h>

class XvfbDisplay {
  public:
    XvfbDisplay();
    ~XvfbDisplay();
    XvfbDisplay(const XvfbDisplay&) = delete;
    XvfbDisplay& operator=(const XvfbDisplay&) = delete;

    // ":N", or "" when Xvfb could not start.
    const std::string& Name() const { return name_; }

  private:
    pid_t pid_ = -1;
    std::string name_;
};
