#include "platform/files/atomic_file.h"

#include <cerrno>
#include <exception>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace platform
{

namespace
{

// Closes the descriptor unless it was handed on.
class Fd
{
public:
    explicit Fd(int fd) : fd(fd) {}
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int Get() const { return fd; }
    // Closes now and reports whether the close succeeded.
    bool Close()
    {
        const int result = ::close(fd);
        fd = -1;
        return result == 0;
    }

private:
    int fd;
};

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty())
    {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false; // a write that makes no progress would loop for ever
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

// Opens a new file with a unique name beside `target`.
int CreateTemporary(const std::filesystem::path& target, mode_t mode, std::filesystem::path& name)
{
    static thread_local std::mt19937_64 random{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt)
    {
        name = target;
        name += ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(random() % 1000000000);
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool SyncFolder(const std::filesystem::path& folder)
{
    Fd dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() < 0)
        return false;
    return ::fsync(dir.Get()) == 0 && dir.Close();
}

// The file a symbolic link leads to, so that saving through a link updates
// the file it names instead of putting a plain file in place of the link.
std::filesystem::path FileToReplace(const std::filesystem::path& path)
{
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error))
        return path;
    const std::filesystem::path target = std::filesystem::weakly_canonical(path, error);
    return error ? path : target;
}

} // namespace

bool ReplaceFileAtomically(const std::filesystem::path& given, std::string_view bytes, mode_t mode)
{
    const std::filesystem::path path = FileToReplace(given);
    std::filesystem::path temporary;
    Fd fd(CreateTemporary(path, mode, temporary));
    if (fd.Get() < 0)
        return false;
    const bool written = WriteAll(fd.Get(), bytes) && ::fsync(fd.Get()) == 0 && fd.Close() &&
                         ::rename(temporary.c_str(), path.c_str()) == 0;
    if (!written)
    {
        ::unlink(temporary.c_str());
        return false;
    }
    // The rename is done; a failed folder sync means it may not survive a
    // crash, so the save is not reported as a success.
    return SyncFolder(path.parent_path());
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path)
{
    // Without O_NONBLOCK a FIFO of that name would block the open until a
    // writer comes; regular files read the same either way.
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.Get() < 0)
        return std::nullopt;
    struct stat info;
    if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    std::string content;
    try
    {
        content.resize(static_cast<size_t>(info.st_size));
    }
    catch (const std::exception&)
    {
        return std::nullopt; // too big to hold counts as unreadable
    }
    size_t done = 0;
    while (done < content.size())
    {
        const ssize_t got = ::read(fd.Get(), content.data() + done, content.size() - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return std::nullopt; // a short read counts as unreadable
        done += static_cast<size_t>(got);
    }
    return content;
}

} // namespace platform
