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
    TFileStream stream(FileName, fmCreate);
    SaveToStream(&stream);
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
        if (n <= 0)
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

void WriteFileReplacing(const std::string& FileName, const std::function<void(TStream* Stream)>& Write,
                        const std::string& Suffix, const std::string& Avoid)
{
    const std::string refused = "Cannot create file \"" + FileName + "\". ";
    // The rename below would replace a read-only file regardless of its protection: such a
    // file is refused and left as it is (also for a user whom the system lets write anything).
    struct stat existing {};
    const bool exists = ::stat(FileName.c_str(), &existing) == 0 && S_ISREG(existing.st_mode);
    if (exists && ((existing.st_mode & 0222) == 0 || ::access(FileName.c_str(), W_OK) != 0))
        throw EFCreateError(refused + "The file is read-only");
    const std::string part = FileNameBeside(FileName, Suffix, Avoid);
    TScopeGuard removePart([&] {
        std::error_code ec;
        if (std::filesystem::is_regular_file(part, ec))
            std::filesystem::remove(part, ec);
    });
    try {
        TFileStream file(part, fmCreate);
        Write(&file);
    } catch (const EFCreateError& e) {
        // The user knows the file by its own name, not by the temporary one.
        throw EFCreateError(StringReplaceAll(e.Message(), "\"" + part + "\"", "\"" + FileName + "\""));
    }
    // The new file keeps the read and write permissions of the one it replaces.
    if (exists)
        ::chmod(part.c_str(), existing.st_mode & 0777);
    std::error_code ec;
    std::filesystem::rename(part, FileName, ec);
    if (ec)
        throw EFCreateError(refused + ec.message());
    removePart.Dismiss();
}
