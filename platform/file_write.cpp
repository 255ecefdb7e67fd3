// Writing a whole file anew from bytes in memory.
#include "platform/file_write.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

bool WriteNewFile(const std::string& path, const void* bytes, size_t size) {
    unlink(path.c_str());
    // O_EXCL: a link planted between the unlink and the open is not followed.
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const char* p = static_cast<const char*>(bytes);
    size_t left = size;
    while (left > 0) {
        ssize_t n = write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        p += n;
        left -= static_cast<size_t>(n);
    }
    bool closed = close(fd) == 0;
    return left == 0 && closed;
}

} // namespace platform
