#include "Streams.h"

#include "system/ScopeGuard.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <limits>
#include <mutex>
#include <new>
#include <random>
#include <string_view>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// The new position of a seek over a block of `size` bytes; never before the start.
int64_t SeekTarget(int64_t position, int64_t size, int64_t offset, TSeekOrigin origin)
{
    int64_t base = origin == TSeekOrigin::soBeginning ? 0 : (origin == TSeekOrigin::soCurrent ? position : size);
    int64_t target;
    if (__builtin_add_overflow(base, offset, &target) || target < 0)
        throw EStreamError("Stream seek error");
    return target;
}

const int64_t MaxMemory = std::numeric_limits<int32_t>::max();

} // namespace

// ---- TStream --------------------------------------------------------------------

int64_t TStream::Size()
{
    int64_t pos = Seek(0, TSeekOrigin::soCurrent);
    int64_t result = Seek(0, TSeekOrigin::soEnd);
    Seek(pos, TSeekOrigin::soBeginning);
    return result;
}

void TStream::SetSize(int64_t)
{
    throw EStreamError(std::string(ClassName()) + " cannot change its size");
}

void TStream::ReadBuffer(void* Buffer, int64_t Count)
{
    if (Count < 0 || (Count != 0 && Read(Buffer, Count) != Count))
        throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, int64_t Count)
{
    if (Count < 0 || (Count != 0 && Write(Buffer, Count) != Count))
        throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream* Source, int64_t Count)
{
    if (Count == 0) {
        Source->SetPosition(0);
        Count = Source->Size();
    }
    int64_t result = Count;
    std::vector<char> buffer(static_cast<size_t>(std::min<int64_t>(Count, 0xF000)));
    while (Count > 0) {
        int64_t n = std::min<int64_t>(Count, static_cast<int64_t>(buffer.size()));
        Source->ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        Count -= n;
    }
    return result;
}

// ---- TMemoryStream --------------------------------------------------------------

namespace {

// Reading and writing at a position of a growable byte container (memory and string
// streams keep their bytes in one).
template <class Bytes>
int64_t ReadBytes(const Bytes& Data, int64_t& Position, void* Buffer, int64_t Count)
{
    const int64_t size = static_cast<int64_t>(Data.size());
    if (Count <= 0 || Position >= size)
        return 0;
    const int64_t n = std::min(Count, size - Position);
    std::memcpy(Buffer, Data.data() + Position, static_cast<size_t>(n));
    Position += n;
    return n;
}

template <class Bytes>
int64_t WriteBytes(Bytes& Data, int64_t& Position, const void* Buffer, int64_t Count, int64_t Limit,
                   const char* FullMessage)
{
    if (Count <= 0)
        return 0;
    if (Count > Limit - Position)
        throw EWriteError(FullMessage);
    const int64_t end = Position + Count;
    if (end > static_cast<int64_t>(Data.size()))
        Data.resize(static_cast<size_t>(end));
    std::memcpy(Data.data() + Position, Buffer, static_cast<size_t>(Count));
    Position = end;
    return Count;
}

} // namespace

int64_t TMemoryStream::Read(void* Buffer, int64_t Count)
{
    return ReadBytes(FData, FPosition, Buffer, Count);
}

int64_t TMemoryStream::Write(const void* Buffer, int64_t Count)
{
    if (Count <= 0)
        return 0;
    if (Count > MaxMemory - FPosition)
        throw EWriteError("Out of memory while expanding memory stream");
    const int64_t end = FPosition + Count;
    const auto size = static_cast<int64_t>(FData.size());
    if (end > size) {
        Resize(end);
        // A gap left by a seek past the end reads as zeros.
        if (FPosition > size)
            std::memset(FData.data() + size, 0, static_cast<size_t>(FPosition - size));
    }
    std::memcpy(FData.data() + FPosition, Buffer, static_cast<size_t>(Count));
    FPosition = end;
    return Count;
}

namespace {

// Blocks from this size on are asked for in large pages, which are faulted in far faster.
// Smaller ones are left to the heap, which keeps blocks up to about this size for reuse
// once they are freed.
constexpr size_t LargeBlock = size_t(32) << 20;
constexpr size_t LargePage = size_t(2) << 20;
// The last large block freed, up to this size, is kept for the next large stream (a file
// written again, read again) so that its memory need not be faulted in anew, as the heap
// keeps smaller ones.
constexpr size_t KeptBlockLimit = size_t(64) << 20;

struct TKeptBlock {
    std::mutex Lock;
    void* Memory = nullptr;
    size_t Size = 0;
};

TKeptBlock& KeptBlock()
{
    static TKeptBlock* kept = new TKeptBlock;   // never destroyed: used until the end
    return *kept;
}

} // namespace

char* TMemoryStream::TBytes::allocate(size_t Count)
{
#if defined(MADV_HUGEPAGE)
    if (Count >= LargeBlock) {
        const size_t rounded = (Count + LargePage - 1) / LargePage * LargePage;
        {
            // The kept block when it fits without wasting more than half of it.
            TKeptBlock& kept = KeptBlock();
            std::lock_guard<std::mutex> lock(kept.Lock);
            if (kept.Memory != nullptr && kept.Size >= rounded && kept.Size / 2 <= rounded) {
                return static_cast<char*>(std::exchange(kept.Memory, nullptr));
            }
        }
        if (void* p = std::aligned_alloc(LargePage, rounded)) {
            madvise(p, rounded, MADV_HUGEPAGE);
            return static_cast<char*>(p);
        }
        throw std::bad_alloc();
    }
#endif
    return static_cast<char*>(::operator new(Count));
}

void TMemoryStream::TBytes::deallocate(char* Memory, size_t Count) noexcept
{
#if defined(MADV_HUGEPAGE)
    if (Count >= LargeBlock) {
        const size_t rounded = (Count + LargePage - 1) / LargePage * LargePage;
        if (rounded <= KeptBlockLimit) {
            void* older;
            {
                TKeptBlock& kept = KeptBlock();
                std::lock_guard<std::mutex> lock(kept.Lock);
                older = std::exchange(kept.Memory, Memory);
                kept.Size = rounded;
            }
            std::free(older);
            return;
        }
        std::free(Memory);
        return;
    }
#endif
    ::operator delete(Memory);
}

char* TMemoryStream::Extend(int64_t Count)
{
    const auto size = static_cast<int64_t>(FData.size());
    if (Count < 0 || Count > MaxMemory - size)
        throw EStreamError("Out of memory while expanding memory stream");
    Resize(size + Count);
    return FData.data() + size;
}

void TMemoryStream::Resize(int64_t NewSize)
{
    // Memory grows with room to spare, so that a few bytes written after a block that
    // was sized exactly move nothing.
    if (NewSize > static_cast<int64_t>(FData.capacity()))
        FData.reserve(static_cast<size_t>(
            std::min(std::max(NewSize + NewSize / 8, 2 * static_cast<int64_t>(FData.capacity())), MaxMemory)));
    FData.resize(static_cast<size_t>(NewSize));
}

void TMemoryStream::Reserve(int64_t Capacity)
{
    if (Capacity > static_cast<int64_t>(FData.capacity()))
        FData.reserve(static_cast<size_t>(std::min(Capacity, MaxMemory)));
}

int64_t TMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin)
{
    FPosition = SeekTarget(FPosition, Size(), Offset, Origin);
    return FPosition;
}

int64_t TMemoryViewStream::Read(void* Buffer, int64_t Count)
{
    if (Count <= 0 || FPosition >= FSize)
        return 0;
    const int64_t n = std::min(Count, FSize - FPosition);
    std::memcpy(Buffer, FData + FPosition, static_cast<size_t>(n));
    FPosition += n;
    return n;
}

int64_t TMemoryViewStream::Write(const void*, int64_t)
{
    throw EWriteError("Stream write error");
}

int64_t TMemoryViewStream::Seek(int64_t Offset, TSeekOrigin Origin)
{
    FPosition = SeekTarget(FPosition, FSize, Offset, Origin);
    return FPosition;
}

void TMemoryViewStream::SetSize(int64_t)
{
    throw EWriteError("Stream write error");
}

void TMemoryStream::SetSize(int64_t NewSize)
{
    if (NewSize < 0 || NewSize > MaxMemory)
        throw EStreamError("Out of memory while expanding memory stream");
    const auto size = static_cast<int64_t>(FData.size());
    Resize(NewSize);
    // The new bytes are zeros.
    if (NewSize > size)
        std::memset(FData.data() + size, 0, static_cast<size_t>(NewSize - size));
    if (FPosition > NewSize)
        FPosition = NewSize;
}

void TMemoryStream::Clear()
{
    FData.clear();
    FData.shrink_to_fit();
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream* Stream)
{
    Stream->SetPosition(0);
    int64_t count = Stream->Size();
    SetSize(count);
    if (count != 0)
        Stream->ReadBuffer(FData.data(), count);
    FPosition = 0;
}

void TMemoryStream::LoadFromFile(const std::string& FileName)
{
    TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&stream);
}

void TMemoryStream::SaveToStream(TStream* Stream)
{
    if (!FData.empty())
        Stream->WriteBuffer(FData.data(), Size());
}

void TMemoryStream::SaveToFile(const std::string& FileName)
{
    WriteFileReplacing(FileName, [this](TStream* Stream) { SaveToStream(Stream); });
}

// ---- TFileStream ----------------------------------------------------------------

TFileStream::TFileStream(const std::string& FileName, unsigned Mode) : FFileName(FileName)
{
    if (Mode == fmCreate) {
        FHandle = ::open(FileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (FHandle < 0)
            throw EFCreateError("Cannot create file \"" + FileName + "\". " + SysErrorMessage(errno));
        return;
    }
    int flags;
    switch (Mode & 0x3) {
    case fmOpenWrite: flags = O_WRONLY; break;
    case fmOpenReadWrite: flags = O_RDWR; break;
    default: flags = O_RDONLY; break;
    }
    FHandle = ::open(FileName.c_str(), flags | O_CLOEXEC);
    int err = errno;
    if (FHandle >= 0) {
        // A folder opens on this system but is no file to read.
        struct stat st {};
        if (::fstat(FHandle, &st) == 0 && S_ISDIR(st.st_mode)) {
            ::close(FHandle);
            FHandle = -1;
            err = EISDIR;
        }
    }
    if (FHandle < 0)
        throw EFOpenError("Cannot open file \"" + FileName + "\". " + SysErrorMessage(err));
}

TFileStream::~TFileStream()
{
    if (FHandle >= 0)
        ::close(FHandle);
}

int64_t TFileStream::Read(void* Buffer, int64_t Count)
{
    int64_t done = 0;
    char* p = static_cast<char*>(Buffer);
    while (done < Count) {
        ssize_t n = ::read(FHandle, p + done, static_cast<size_t>(std::min<int64_t>(Count - done, 1 << 30)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    return done;
}

int64_t TFileStream::Write(const void* Buffer, int64_t Count)
{
    int64_t done = 0;
    const char* p = static_cast<const char*>(Buffer);
    while (done < Count) {
        ssize_t n = ::write(FHandle, p + done, static_cast<size_t>(std::min<int64_t>(Count - done, 1 << 30)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw EWriteError("Cannot write file \"" + FFileName + "\". " + SysErrorMessage(errno));
        if (n == 0)
            break;
        done += n;
    }
    return done;
}

int64_t TFileStream::Seek(int64_t Offset, TSeekOrigin Origin)
{
    int whence = Origin == TSeekOrigin::soBeginning ? SEEK_SET : (Origin == TSeekOrigin::soCurrent ? SEEK_CUR : SEEK_END);
    off_t r = ::lseek(FHandle, static_cast<off_t>(Offset), whence);
    if (r < 0)
        throw EStreamError("Stream seek error");
    return static_cast<int64_t>(r);
}

void TFileStream::SetSize(int64_t NewSize)
{
    if (NewSize < 0 || ::ftruncate(FHandle, static_cast<off_t>(NewSize)) != 0)
        throw EStreamError("Cannot change the size of file \"" + FFileName + "\". " + SysErrorMessage(errno));
    if (Position() > NewSize)
        Seek(NewSize, TSeekOrigin::soBeginning);
}

// ---- TStringStream --------------------------------------------------------------

int64_t TStringStream::Read(void* Buffer, int64_t Count)
{
    return ReadBytes(FDataString, FPosition, Buffer, Count);
}

int64_t TStringStream::Write(const void* Buffer, int64_t Count)
{
    return WriteBytes(FDataString, FPosition, Buffer, Count, MaxMemory, "Stream write error");
}

int64_t TStringStream::Seek(int64_t Offset, TSeekOrigin Origin)
{
    FPosition = std::min(SeekTarget(FPosition, Size(), Offset, Origin), Size());
    return FPosition;
}

void TStringStream::SetSize(int64_t NewSize)
{
    if (NewSize < 0 || NewSize > MaxMemory)
        throw EStreamError("Stream write error");
    FDataString.resize(static_cast<size_t>(NewSize));
    if (FPosition > NewSize)
        FPosition = NewSize;
}

std::string TStringStream::ReadString(int64_t Count)
{
    int64_t n = std::max<int64_t>(0, std::min(Count, Size() - FPosition));
    std::string result = FDataString.substr(static_cast<size_t>(FPosition), static_cast<size_t>(n));
    FPosition += n;
    return result;
}

void TStringStream::WriteString(const std::string& AString)
{
    Write(AString.data(), static_cast<int64_t>(AString.size()));
}

std::string FileNameBeside(const std::string& FileName, const std::string& Suffix, const std::string& Avoid)
{
    constexpr size_t NameMax = 255;
    const std::filesystem::path path(FileName);
    const std::string name = path.filename().string();
    size_t keep = std::min(name.size(), NameMax > Suffix.size() ? NameMax - Suffix.size() : 0);
    while (true) {
        while (keep > 0 && keep < name.size() && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80)
            --keep;
        const std::string temp = (path.parent_path() / (name.substr(0, keep) + Suffix)).string();
        if ((temp != FileName && temp != Avoid) || keep == 0)
            return temp;
        --keep;
    }
}

namespace {

// The file that FileName names through any chain of symbolic links (it may not exist yet).
std::string ResolveLinks(const std::string& FileName, const std::string& Refused)
{
    std::filesystem::path path(FileName);
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path.string();
        std::error_code ec;
        const std::filesystem::path next = std::filesystem::read_symlink(path, ec);
        if (ec)
            throw EFCreateError(Refused + SysErrorMessage(ec.value()));
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    throw EFCreateError(Refused + SysErrorMessage(ELOOP));
}

// Temporary names: the file's name, ".~", eight of these, ".part".
constexpr std::string_view TempLetters = "0123456789abcdefghijklmnopqrstuvwxyz";
constexpr size_t TempRandom = 8;
const std::string TempStart = ".~";
const std::string TempEnd = ".part";

std::string TempName(const std::string& Prefix)
{
    std::random_device random;
    std::string name = Prefix + TempStart;
    for (size_t i = 0; i < TempRandom; ++i)
        name += TempLetters[random() % TempLetters.size()];
    return name + TempEnd;
}

// Removes temporaries of File (in Folder) that no save holds any more: each save keeps
// its temporary locked while it lives, and the system drops the lock of a killed program.
void RemoveLeftTemporaries(const std::string& Folder, const std::string& File)
{
    std::error_code ec;
    for (std::filesystem::directory_iterator it(Folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const size_t random = File.size() + TempStart.size();
        if (name.size() != random + TempRandom + TempEnd.size() || name.compare(0, File.size(), File) != 0 ||
            name.compare(File.size(), TempStart.size(), TempStart) != 0 || !name.ends_with(TempEnd) ||
            name.find_first_not_of(TempLetters, random) != random + TempRandom)
            continue;
        const std::string path = it->path().string();
        const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat held {}, named {};
        if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::lstat(path.c_str(), &named) == 0 && named.st_dev == held.st_dev && named.st_ino == held.st_ino)
            ::unlink(path.c_str());
        ::close(fd);
    }
}

// Whether an unnamed file can be given a name later (through the process's open files).
bool CanLinkUnnamedFiles()
{
    static const bool can = ::access("/proc/self/fd", X_OK) == 0;
    return can;
}

} // namespace

void WriteFileReplacing(const std::string& FileName, const std::function<void(TStream* Stream)>& Write)
{
    const std::string refused = "Cannot create file \"" + FileName + "\". ";
    // Through a symbolic link the file it names is replaced, and the link stays.
    const std::string target = ResolveLinks(FileName, refused);
    // The rename below would replace a read-only file regardless of its protection: such a
    // file is refused and left as it is (also for a user whom the system lets write anything).
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode);
    if (exists && ((existing.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0))
        throw EFCreateError(refused + "The file is read-only");
    const std::filesystem::path targetPath(target);
    const std::string folder = targetPath.has_parent_path() ? targetPath.parent_path().string() : ".";
    const size_t tempSuffix = TempStart.size() + TempRandom + TempEnd.size();
    const std::string beside = FileNameBeside(target, std::string(tempSuffix, 'x'));
    const std::string prefix = beside.substr(0, beside.size() - tempSuffix);

    // The save's own file: unnamed until it is whole, else under a name no other file has.
    // Either is locked while the save lives, so that no other save takes it for a leftover.
    std::string part;   // the temporary's name, once it has one
    int fd = -1;
    if (CanLinkUnnamedFiles())
        fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    auto lock = [](int handle) {
        // Where the file system keeps no locks the save goes on without one.
        while (::flock(handle, LOCK_EX) != 0 && errno == EINTR) {
        }
    };
    if (fd >= 0) {
        lock(fd);
    } else {
        for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
            part = TempName(prefix);
            fd = ::open(part.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
            if (fd < 0 && errno != EEXIST)
                break;
            if (fd < 0)
                continue;
            lock(fd);
            // A save that took it for a leftover before it was locked has removed it.
            struct stat st {};
            if (::fstat(fd, &st) == 0 && st.st_nlink == 0) {
                ::close(fd);
                fd = -1;
                errno = EEXIST;
            }
        }
        if (fd < 0) {
            const int err = errno;
            if (err == EACCES || err == EPERM || err == EROFS)
                throw EFCreateError(refused + "The folder \"" + std::filesystem::absolute(folder).lexically_normal().string() +
                                    "\" is not writable (" + SysErrorMessage(err) + ")");
            throw EFCreateError(refused + SysErrorMessage(err));
        }
    }
    TFileStream file(fd, FileName);
    TScopeGuard removePart([&] {
        if (!part.empty())
            ::unlink(part.c_str());
    });
    Write(&file);
    // The new file keeps the owner (where the system allows) and permissions of the one it
    // replaces.
    if (exists) {
        if (::fchown(fd, existing.st_uid, existing.st_gid) != 0) {
            // Another user's file becomes this user's; its permissions still apply.
        }
        ::fchmod(fd, existing.st_mode & 0777);
    }
    if (::fsync(fd) != 0)
        throw EWriteError("Cannot write file \"" + FileName + "\". " + SysErrorMessage(errno));
    if (part.empty()) {
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        for (int attempt = 0; part.empty() && attempt < 100; ++attempt) {
            const std::string name = TempName(prefix);
            if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
                part = name;
            else if (errno != EEXIST)
                break;
        }
        if (part.empty())
            throw EFCreateError(refused + SysErrorMessage(errno));
    }
    if (::rename(part.c_str(), target.c_str()) != 0)
        throw EFCreateError(refused + SysErrorMessage(errno));
    removePart.Dismiss();
    // The new name is on the disk too.
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    // Only where the temporaries' names hold the whole name of the file: a name cut to the
    // length limit could be the start of another file's.
    if (prefix == target)
        RemoveLeftTemporaries(folder, targetPath.filename().string());
}
