// Files on disk over POSIX descriptors; names go through SystemPath and the length limit first.
#include "platform/files.h"

#include "platform/paths.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

bool NameAllowed(const std::string& name) { return !name.empty() && name.size() <= kMaxFileName; }

int OpenNamed(const std::string& name, int flags, mode_t mode = 0666) {
    if (!NameAllowed(name)) return -1;
    int fd;
    do fd = open(SystemPath(name).c_str(), flags | O_CLOEXEC, mode);
    while (fd < 0 && errno == EINTR);
    return fd;
}

bool IsRegular(int fd) {
    struct stat st;
    return fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

std::string FolderOf(const std::string& path) {
    size_t cut = path.find_last_of('/');
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

// The mode a new file gets from the umask, or the mode of the file it replaces.
mode_t ReplacementMode(const std::string& target) {
    struct stat st;
    if (stat(target.c_str(), &st) == 0) return st.st_mode & 07777;
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

} // namespace

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

void File::Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
}

int64_t File::Read(void* buffer, size_t count) {
    char* at = static_cast<char*>(buffer);
    size_t done = 0;
    while (done < count) {
        ssize_t n = read(fd_, at + done, count - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return -1;
        if (n == 0) break;
        done += static_cast<size_t>(n);
    }
    return static_cast<int64_t>(done);
}

bool File::Write(const void* bytes, size_t count) {
    const char* at = static_cast<const char*>(bytes);
    while (count > 0) {
        ssize_t n = write(fd_, at, count);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        at += n;
        count -= static_cast<size_t>(n);
    }
    return true;
}

int64_t File::Seek(int64_t offset, SeekFrom from) {
    int whence = from == SeekFrom::Start ? SEEK_SET : from == SeekFrom::Current ? SEEK_CUR : SEEK_END;
    return lseek(fd_, offset, whence);
}

int64_t File::Size() const {
    struct stat st;
    return fstat(fd_, &st) == 0 ? st.st_size : -1;
}

bool File::Sync() { return fsync(fd_) == 0; }

File OpenForReading(const std::string& name) {
    int fd = OpenNamed(name, O_RDONLY);
    // A folder opens for reading on Linux but is no file to the runtime.
    if (fd >= 0 && !IsRegular(fd)) {
        close(fd);
        fd = -1;
    }
    return File(fd);
}

File CreateAlways(const std::string& name) {
    if (!NameAllowed(name)) return File();
    unlink(SystemPath(name).c_str());
    return File(OpenNamed(name, O_RDWR | O_CREAT | O_TRUNC));
}

File CreateNew(const std::string& name) { return File(OpenNamed(name, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW, 0600)); }

bool FileReadable(const std::string& name) { return OpenForReading(name).IsOpen(); }

FileReplacement::FileReplacement(const std::string& target) : target_(SystemPath(target)) {
    if (target_.empty()) return;
    // A link keeps pointing where the user put it: the file it names is the one replaced.
    if (char* real = realpath(target_.c_str(), nullptr)) {
        target_ = real;
        free(real);
    }
    size_t cut = target_.find_last_of('/');
    std::string base = cut == std::string::npos ? target_ : target_.substr(cut + 1);
    tempPath_ = FolderOf(target_) + "." + base + ".XXXXXX";
    int fd = mkostemp(tempPath_.data(), O_CLOEXEC);
    if (fd < 0) return;
    fchmod(fd, ReplacementMode(target_));
    file_ = File(fd);
}

FileReplacement::~FileReplacement() {
    if (file_.IsOpen()) {
        file_.Close();
        unlink(tempPath_.c_str());
    }
}

bool FileReplacement::Write(const void* bytes, size_t count) {
    if (!failed_ && !file_.Write(bytes, count)) failed_ = true;
    return !failed_;
}

bool FileReplacement::Commit() {
    if (!file_.IsOpen()) return false;
    if (failed_ || !file_.Sync()) return false;
    if (TestHooks().beforeReplace) TestHooks().beforeReplace();
    file_.Close();
    if (rename(tempPath_.c_str(), target_.c_str()) == 0) return true;
    unlink(tempPath_.c_str());
    return false;
}

FileTestHooks& TestHooks() {
    static FileTestHooks* hooks = new FileTestHooks;
    return *hooks;
}

std::string AbsolutePath(const std::string& name) {
    std::string path = SystemPath(name);
    if (path.empty() || path[0] == '/') return path;
    std::string dir = CurrentDir();
    return dir.empty() ? path : dir + (dir.back() == '/' ? "" : "/") + path;
}

} // namespace platform
