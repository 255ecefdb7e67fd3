// Files on disk over POSIX descriptors; names go through SystemPath and the length limit first.
#include "platform/files.h"

#include "platform/paths.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
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

// Opens without waiting (a FIFO would block the open for ever) and keeps only regular files: a
// folder, a FIFO or a device is no file to the runtime.
int OpenRegular(const std::string& name, int flags, mode_t mode = 0666) {
    int fd = OpenNamed(name, flags | O_NONBLOCK, mode);
    if (fd < 0) return -1;
    if (!IsRegular(fd)) {
        close(fd);
        errno = EINVAL;
        return -1;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

// A file its owner made read-only keeps its contents, although unlink and rename ignore its mode.
bool ReadOnlyFile(const std::string& path) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return false;
    return (st.st_mode & 0222) == 0 || access(path.c_str(), W_OK) != 0;
}

std::string FolderOf(const std::string& path) {
    size_t cut = path.find_last_of('/');
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

// Temporary files of a rewrite have a short name of their own (a long file name plus a suffix could
// pass the system's limit of 255 bytes) that tells which file they stand in for.
std::string TempPrefix(const std::string& base) {
    uint32_t hash = 2166136261u; // FNV-1a
    for (unsigned char c : base) hash = (hash ^ c) * 16777619u;
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, ".tmv%08x-", hash);
    return prefix;
}

// Temporaries of earlier rewrites of the same file that nobody is writing (a killed program's
// leftovers): their writer holds a lock while it lives.
void RemoveLeftovers(const std::string& folder, const std::string& prefix) {
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return;
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0) continue;
        std::string path = folder + name;
        int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st;
        if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == geteuid() && flock(fd, LOCK_EX | LOCK_NB) == 0)
            unlink(path.c_str());
        close(fd);
    }
    closedir(dir);
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

File OpenForReading(const std::string& name) { return File(OpenRegular(name, O_RDONLY)); }

File CreateAlways(const std::string& name) {
    if (!NameAllowed(name) || ReadOnlyFile(SystemPath(name))) return File();
    unlink(SystemPath(name).c_str());
    return File(OpenRegular(name, O_RDWR | O_CREAT | O_TRUNC));
}

File CreateNew(const std::string& name) { return File(OpenNamed(name, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW, 0600)); }

bool FileReadable(const std::string& name) { return OpenForReading(name).IsOpen(); }

FileReplacement::FileReplacement(const std::string& target) : target_(target) {
    if (target_.empty()) {
        failure_ = "no file name";
        return;
    }
    // A link keeps pointing where the user put it: the file it names is the one replaced.
    if (char* real = realpath(target_.c_str(), nullptr)) {
        target_ = real;
        free(real);
    }
    if (ReadOnlyFile(target_)) {
        failure_ = std::strerror(EACCES);
        return;
    }
    size_t cut = target_.find_last_of('/');
    std::string folder = FolderOf(target_);
    std::string prefix = TempPrefix(cut == std::string::npos ? target_ : target_.substr(cut + 1));
    RemoveLeftovers(folder, prefix);
    tempPath_ = folder + prefix + "XXXXXX";
    int fd = mkostemp(tempPath_.data(), O_CLOEXEC);
    if (fd < 0) {
        Fail();
        return;
    }
    file_ = File(fd);
    if (flock(fd, LOCK_EX) != 0) {
        Fail();
        file_.Close();
        unlink(tempPath_.c_str());
        return;
    }
    fchmod(fd, ReplacementMode(target_));
}

FileReplacement::~FileReplacement() {
    if (file_.IsOpen()) {
        unlink(tempPath_.c_str());
        file_.Close();
    }
}

void FileReplacement::Fail() {
    if (failure_.empty()) failure_ = std::strerror(errno);
}

bool FileReplacement::Write(const void* bytes, size_t count) {
    if (failure_.empty() && !file_.Write(bytes, count)) Fail();
    return failure_.empty();
}

// The rename happens while the lock is held, so that no other rewrite takes the file for a leftover.
bool FileReplacement::Commit() {
    if (!file_.IsOpen() || !failure_.empty()) return false;
    if (!file_.Sync()) {
        Fail();
        return false;
    }
    if (TestHooks().beforeReplace) TestHooks().beforeReplace();
    bool renamed = rename(tempPath_.c_str(), target_.c_str()) == 0;
    if (!renamed) Fail();
    if (!renamed) unlink(tempPath_.c_str());
    file_.Close();
    return renamed;
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
