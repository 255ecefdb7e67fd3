// Where things are on this machine, and file calls that never follow links.
#include "platform/paths.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

bool PrivateFolder(const std::string& path) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0) return false;
    return S_ISDIR(st.st_mode) && st.st_uid == geteuid() && (st.st_mode & 077) == 0;
}

// A folder of our own in /tmp: "tmv-<uid>" when it is ours and private; someone else's folder of that
// name (or a link to one) is never used, and we fall back to a fresh random folder instead.
std::string MakePrivateTempDir() {
    std::string path = "/tmp/tmv-" + std::to_string(geteuid());
    if (mkdir(path.c_str(), 0700) == 0 || PrivateFolder(path)) return path + "/";
    std::string pattern = path + "-XXXXXX";
    if (mkdtemp(pattern.data())) return pattern + "/";
    return "/tmp/";
}

} // namespace

// Never destroyed: exit handlers that write the log may run after the static destructors.
const std::string& TempDir() {
    static const std::string* dir = new std::string([] {
        const char* env = std::getenv("TMPDIR");
        if (env && *env) {
            std::string d = env;
            if (d.back() != '/') d += '/';
            return d;
        }
        return MakePrivateTempDir();
    }());
    return *dir;
}

std::string ExecutablePath() {
    std::string path(256, '\0');
    for (;;) {
        ssize_t n = readlink("/proc/self/exe", path.data(), path.size());
        if (n < 0) return {};
        if (static_cast<size_t>(n) < path.size()) {
            path.resize(static_cast<size_t>(n));
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::string ProgramDir() {
    std::string program = ExecutablePath();
    size_t cut = program.rfind('/');
    return cut == std::string::npos ? "." : program.substr(0, cut);
}

std::string CurrentDir() {
    std::string path(256, '\0');
    while (!getcwd(path.data(), path.size())) {
        if (errno != ERANGE) return {};
        path.resize(path.size() * 2);
    }
    path.resize(path.find('\0'));
    return path;
}

bool SetCurrentDir(const std::string& path) { return chdir(path.c_str()) == 0; }

std::string SystemPath(std::string name) {
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

AppendResult AppendExclusive(const std::string& path, const char* bytes, size_t size) {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0) return AppendResult::Refused;
    // Only a regular file of our own: a FIFO, or a file another user planted in a shared folder,
    // never receives our lines.
    struct stat st;
    AppendResult result = AppendResult::Refused;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == geteuid())
        result = flock(fd, LOCK_EX | LOCK_NB) == 0 ? AppendResult::Done : AppendResult::Busy;
    while (result == AppendResult::Done && size > 0) {
        ssize_t n = write(fd, bytes, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) result = AppendResult::Refused;
        if (n > 0) {
            bytes += n;
            size -= static_cast<size_t>(n);
        }
    }
    close(fd);
    return result;
}

bool RemoveFile(const std::string& path) { return unlink(SystemPath(path).c_str()) == 0; }

} // namespace platform
