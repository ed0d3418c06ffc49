// Byte streams: the abstract stream, memory, file and string streams.
#pragma once

#include "Classes.h"

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

// A sequence of bytes with a position. Read and Write move as far as they can and answer
// how many bytes they moved; ReadBuffer and WriteBuffer insist on the whole count and
// raise EReadError "Stream read error" / EWriteError "Stream write error".
class TStream : public TObject {
public:
    DECLARE_CLASS_NAME(TStream)
    virtual int64_t Read(void* Buffer, int64_t Count) = 0;
    virtual int64_t Write(const void* Buffer, int64_t Count) = 0;
    // Answers the new position.
    virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;

    int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
    void SetPosition(int64_t Value) { Seek(Value, TSeekOrigin::soBeginning); }
    virtual int64_t Size();
    virtual void SetSize(int64_t NewSize);

    void ReadBuffer(void* Buffer, int64_t Count);
    void WriteBuffer(const void* Buffer, int64_t Count);
    // Copies Count bytes from Source's position, or all of Source (from its start) when
    // Count is 0. Answers the number of bytes copied.
    int64_t CopyFrom(TStream* Source, int64_t Count);
};

// A stream over a block of memory that it owns and grows as it is written.
class TMemoryStream : public TStream {
public:
    DECLARE_CLASS_NAME(TMemoryStream)
    int64_t Read(void* Buffer, int64_t Count) override;
    int64_t Write(const void* Buffer, int64_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    int64_t Size() override { return static_cast<int64_t>(FData.size()); }
    void SetSize(int64_t NewSize) override;

    void Clear();
    const char* Memory() const { return FData.data(); }
    char* Memory() { return FData.data(); }
    // Room for Count more bytes that the caller fills: the size grows by Count and the
    // new bytes at the old end (uncleared) are answered; the position stays.
    char* Extend(int64_t Count);
    // Memory for a size up to Capacity, so that growing to it moves nothing.
    void Reserve(int64_t Capacity);
    // Replaces the contents with the whole of Stream / the file, position 0.
    void LoadFromStream(TStream* Stream);
    void LoadFromFile(const std::string& FileName);
    // Writes the whole contents, whatever the position.
    void SaveToStream(TStream* Stream);
    void SaveToFile(const std::string& FileName);

private:
    void Resize(int64_t NewSize);

    // The bytes' memory: not cleared when the vector grows (they are written right after,
    // or cleared where the stream's contract wants zeros), and large blocks where the
    // system can give them in large pages, which are faulted in far faster.
    struct TBytes {
        using value_type = char;
        template <class U>
        struct rebind {
            using other = TBytes;
        };
        TBytes() = default;
        static char* allocate(size_t Count);
        static void deallocate(char* Memory, size_t Count) noexcept;
        template <class U>
        void construct(U* p) noexcept
        {
            ::new (static_cast<void*>(p)) U;
        }
        template <class U, class... A>
        void construct(U* p, A&&... a) noexcept
        {
            ::new (static_cast<void*>(p)) U(std::forward<A>(a)...);
        }
        bool operator==(const TBytes&) const noexcept { return true; }
    };
    std::vector<char, TBytes> FData;
    int64_t FPosition = 0;
};

// File modes: one of fmCreate, fmOpenRead, fmOpenWrite, fmOpenReadWrite, optionally
// combined with a share mode (accepted and ignored on this platform).
enum : unsigned {
    fmOpenRead = 0x0000,
    fmOpenWrite = 0x0001,
    fmOpenReadWrite = 0x0002,
    fmShareCompat = 0x0000,
    fmShareExclusive = 0x0010,
    fmShareDenyWrite = 0x0020,
    fmShareDenyRead = 0x0030,
    fmShareDenyNone = 0x0040,
    fmCreate = 0xFFFF,
};

// A stream over a file. Opening raises EFOpenError "Cannot open file \"%s\". %s" and
// creating EFCreateError "Cannot create file \"%s\". %s" with the system's reason; a
// write the system refuses (a full disk) raises EWriteError "Cannot write file \"%s\". %s".
class TFileStream : public TStream {
public:
    DECLARE_CLASS_NAME(TFileStream)
    TFileStream(const std::string& FileName, unsigned Mode);
    // Takes over an open Handle, closed with the stream; FileName names it in messages.
    TFileStream(int Handle, const std::string& FileName) : FFileName(FileName), FHandle(Handle) {}
    ~TFileStream() override;

    int64_t Read(void* Buffer, int64_t Count) override;
    int64_t Write(const void* Buffer, int64_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    void SetSize(int64_t NewSize) override;
    const std::string& FileName() const { return FFileName; }
    int Handle() const { return FHandle; }

private:
    std::string FFileName;
    int FHandle = -1;
};

// A name beside FileName (a temporary file's, or a table's that must not be its data
// file): FileName with Suffix added, its name cut (by whole UTF-8 characters) where it
// would otherwise pass the file system's limit of 255 bytes a name. It is never FileName
// itself, nor Avoid.
std::string FileNameBeside(const std::string& FileName, const std::string& Suffix,
                           const std::string& Avoid = std::string());

// Writes a file whole or not at all, also while other programs save it: Write fills a
// stream over a temporary file of this save alone, made exclusively in FileName's folder
// (unnamed where the file system allows), which is flushed to the disk and renamed over
// FileName (keeping the earlier file's permissions and, where allowed, its owner). A
// symbolic link is followed to the file it names, which is replaced; the link stays.
// When Write raises or anything fails, nothing is left of the save and an earlier file
// stays as it was. A read-only file is refused first (EFCreateError "Cannot create file
// \"%s\". The file is read-only"), a folder that cannot be written says so; messages name
// FileName, never the temporary file. Temporaries that a killed program left beside
// FileName (FileName, ".~", eight small letters or digits, ".part") go with its next save.
void WriteFileReplacing(const std::string& FileName, const std::function<void(TStream* Stream)>& Write);

// A read-only stream over bytes that another keeps for as long as it lives (a part of a
// memory stream read in place); writing raises EWriteError.
class TMemoryViewStream : public TStream {
public:
    DECLARE_CLASS_NAME(TMemoryViewStream)
    TMemoryViewStream(const char* Data, int64_t Size) : FData(Data), FSize(Size) {}
    int64_t Read(void* Buffer, int64_t Count) override;
    int64_t Write(const void* Buffer, int64_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    int64_t Size() override { return FSize; }
    void SetSize(int64_t NewSize) override;
    const char* Memory() const { return FData; }

private:
    const char* FData;
    int64_t FSize;
    int64_t FPosition = 0;
};

// A memory stream whose bytes are a string.
class TStringStream : public TStream {
public:
    DECLARE_CLASS_NAME(TStringStream)
    explicit TStringStream(std::string AString = std::string()) : FDataString(std::move(AString)) {}

    int64_t Read(void* Buffer, int64_t Count) override;
    int64_t Write(const void* Buffer, int64_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    int64_t Size() override { return static_cast<int64_t>(FDataString.size()); }
    void SetSize(int64_t NewSize) override;

    const std::string& DataString() const { return FDataString; }
    // Reads up to Count bytes from the position.
    std::string ReadString(int64_t Count);
    void WriteString(const std::string& AString);

private:
    std::string FDataString;
    int64_t FPosition = 0;
};
