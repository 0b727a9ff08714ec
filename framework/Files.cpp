#include "framework/Files.h"

#include "framework/FileReader.h"

#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <utility>

CFile::~CFile() {
    Close();
}

bool CFile::Open(const std::string& path, unsigned flags) {
    Close();
    int oflags = O_CLOEXEC;
    if (flags & modeReadWrite)
        oflags |= O_RDWR;
    else if (flags & modeWrite)
        oflags |= O_WRONLY;
    else
        oflags |= O_RDONLY;
    if (flags & modeCreate) {
        oflags |= O_CREAT;
        if (!(flags & modeNoTruncate))
            oflags |= O_TRUNC;
    }
    const int fd = ::open(path.c_str(), oflags, 0644);
    if (fd < 0)
        return false;
    struct stat st {};
    if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        errno = EISDIR;
        return false;
    }
    m_fd = fd;
    m_path = path;
    return true;
}

void CFile::Close() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_path.clear();
}

std::size_t CFile::Read(void* buffer, std::size_t count) {
    if (m_fd < 0)
        return 0;
    std::size_t done = 0;
    auto* out = static_cast<char*>(buffer);
    while (done < count) {
        const ssize_t n = ::read(m_fd, out + done, count - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += std::size_t(n);
    }
    return done;
}

bool CFile::Write(const void* data, std::size_t count) {
    if (m_fd < 0)
        return false;
    std::size_t done = 0;
    const auto* in = static_cast<const char*>(data);
    while (done < count) {
        const ssize_t n = ::write(m_fd, in + done, count - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += std::size_t(n);
    }
    return true;
}

void CFile::Flush() {
    // Nothing is buffered here: every Write has already handed its bytes to
    // the system, where a reader of the growing file sees them.
}

std::uint64_t CFile::GetLength() const {
    struct stat st {};
    if (m_fd < 0 || fstat(m_fd, &st) != 0)
        return 0;
    return std::uint64_t(st.st_size);
}

std::uint64_t CFile::SeekToEnd() {
    if (m_fd < 0)
        return 0;
    const off_t pos = lseek(m_fd, 0, SEEK_END);
    return pos < 0 ? 0 : std::uint64_t(pos);
}

void CFile::SeekToBegin() {
    if (m_fd >= 0)
        lseek(m_fd, 0, SEEK_SET);
}

std::uint64_t CFile::Seek(std::uint64_t pos) {
    if (m_fd < 0)
        return 0;
    const off_t at = lseek(m_fd, off_t(pos), SEEK_SET);
    return at < 0 ? 0 : std::uint64_t(at);
}

std::uint64_t CFile::GetPosition() const {
    if (m_fd < 0)
        return 0;
    const off_t pos = lseek(m_fd, 0, SEEK_CUR);
    return pos < 0 ? 0 : std::uint64_t(pos);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty())
        return name;
    if (folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool IsDirectory(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CreateFolder(const std::string& path) {
    if (path.empty() || IsDirectory(path))
        return false;
    for (std::size_t pos = path.find('/', 1); pos != std::string::npos;
         pos = path.find('/', pos + 1)) {
        const std::string parent = path.substr(0, pos);
        // A parent that cannot be made keeps its reason in errno.
        if (!IsDirectory(parent) && mkdir(parent.c_str(), 0755) != 0 && errno != EEXIST)
            return false;
    }
    return mkdir(path.c_str(), 0755) == 0;
}

namespace {

bool SyncFolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

} // namespace

namespace {

ReplaceStep g_failStep = ReplaceStep::None;
int g_failError = 0;

// The injected failure of `step`, once; 0 when there is none.
int InjectedFailure(ReplaceStep step) {
    if (g_failStep != step)
        return 0;
    g_failStep = ReplaceStep::None;
    return g_failError != 0 ? g_failError : EIO;
}

} // namespace

void FailNextReplaceAt(ReplaceStep step, int error) {
    g_failStep = step;
    g_failError = error;
}

bool ReplaceFileContentsVia(const std::string& path, const std::string& tempPath,
                            const std::string& bytes, int* error, std::string* failedPath,
                            bool synced) {
    int failure = InjectedFailure(ReplaceStep::Open);
    std::string failedAt = tempPath;
    const int fd = failure != 0
                       ? -1
                       : ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        if (failure == 0)
            failure = errno != 0 ? errno : EIO;
    } else {
        failure = InjectedFailure(ReplaceStep::Write);
        std::size_t done = failure == 0 ? 0 : bytes.size() / 2;
        if (failure != 0 && done > 0 && ::write(fd, bytes.data(), done) < 0)
            done = 0; // half written, as a full disk leaves it
        while (done < bytes.size() && failure == 0) {
            const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                failure = n < 0 ? errno : EIO;
            else
                done += std::size_t(n);
        }
        // The new bytes are on the disk, and the close reported nothing,
        // before they take the name.
        if (failure == 0)
            failure = InjectedFailure(ReplaceStep::Sync);
        if (failure == 0 && synced && ::fsync(fd) != 0)
            failure = errno;
        if (::close(fd) != 0 && failure == 0)
            failure = errno;
        if (failure == 0) {
            failure = InjectedFailure(ReplaceStep::Rename);
            if (failure == 0 && ::rename(tempPath.c_str(), path.c_str()) != 0)
                failure = errno;
            if (failure != 0)
                failedAt = path;
        }
        if (failure != 0)
            ::unlink(tempPath.c_str());
    }
    if (failure == 0 && synced)
        SyncFolderOf(path); // the rename itself survives a power cut
    if (error != nullptr)
        *error = failure;
    if (failedPath != nullptr)
        *failedPath = failure != 0 ? failedAt : std::string();
    errno = failure;
    return failure == 0;
}

bool ReplaceFileContents(const std::string& path, const std::string& bytes, int* error) {
    return ReplaceFileContentsVia(path, path + ".part", bytes, error);
}

bool FileHolds(const std::string& path, const std::string& bytes) {
    CFileReader file;
    // One byte more than expected tells a longer file apart.
    if (!file.Open(path, std::uint64_t(bytes.size()) + 1))
        return false;
    std::string held(bytes.size() + 1, '\0');
    held.resize(file.Read(held.data(), held.size()));
    return held == bytes;
}

bool WriteFileIfDifferent(const std::string& path, const std::string& tempPath,
                          const std::string& bytes, int* error, std::string* failedPath,
                          bool synced) {
    if (FileHolds(path, bytes)) {
        if (error != nullptr)
            *error = 0;
        if (failedPath != nullptr)
            failedPath->clear();
        return true;
    }
    return ReplaceFileContentsVia(path, tempPath, bytes, error, failedPath, synced);
}

bool WriteFileIfDifferent(const std::string& path, const std::string& bytes, int* error,
                          bool synced) {
    return WriteFileIfDifferent(path, path + ".part", bytes, error, nullptr, synced);
}

bool CopyFileReplace(const std::string& from, const std::string& to) {
    std::string bytes;
    if (!ReadWholeFile(from, &bytes))
        return false;
    return ReplaceFileContents(to, bytes);
}

bool DeleteFileAt(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

bool RenameFile(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

std::vector<std::string> FindFiles(const std::string& folder, const std::string& pattern) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return names;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        if (fnmatch(pattern.c_str(), name.c_str(), FNM_CASEFOLD) != 0)
            continue;
        if (FileExists(JoinPath(folder, name)))
            names.push_back(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

bool ReadWholeFile(const std::string& path, std::string* bytes, std::size_t limit) {
    CFileReader file;
    if (!file.Open(path, std::uint64_t(limit))) {
        errno = file.Error();
        return false;
    }
    std::string read;
    file.ReadRest(&read);
    if (file.Cut() || file.Error() != 0) {
        errno = file.Cut() ? EFBIG : file.Error();
        return false;
    }
    *bytes = std::move(read);
    return true;
}

std::string CurrentDirectory() {
    char buffer[PATH_MAX];
    return getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string(".");
}

std::string ExecutableDirectory() {
    char buffer[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return {};
    std::string path(buffer, std::size_t(n));
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}
