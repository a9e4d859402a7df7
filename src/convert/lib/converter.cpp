#include "convert/lib/converter.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <atomic>
#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "convert/lib/movielocator.h"

#define CONVERTER_EXPORT __attribute__((visibility("default")))

namespace {

thread_local std::string lastMessage;

struct ConvertFailure {
    int code;
    std::string message;
};

std::string Quoted(const std::string &path) { return "\"" + path + "\""; }

[[noreturn]] void Fail(int code, const std::string &message) { throw ConvertFailure{code, message}; }

[[noreturn]] void FailWithErrno(int code, const std::string &what, int error)
{
    Fail(code, what + ": " + std::strerror(error));
}

// A whole regular file mapped read-only. Mapping reads only the pages the
// locator touches and allocates nothing, whatever the file claims.
class MappedFile {
public:
    explicit MappedFile(const std::string &path)
    {
        descriptor_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (descriptor_ < 0)
            FailWithErrno(CONVERT_CANNOT_READ, "Cannot open " + Quoted(path), errno);
        struct stat facts {};
        if (::fstat(descriptor_, &facts) != 0)
            FailWithErrno(CONVERT_CANNOT_READ, "Cannot read " + Quoted(path), errno);
        if (!S_ISREG(facts.st_mode))
            Fail(CONVERT_CANNOT_READ, Quoted(path) + " is not a file.");
        size_ = size_t(facts.st_size);
        device_ = facts.st_dev;
        inode_ = facts.st_ino;
        if (size_ == 0)
            return;
        void *mapped = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, descriptor_, 0);
        if (mapped == MAP_FAILED)
            FailWithErrno(CONVERT_CANNOT_READ, "Cannot read " + Quoted(path), errno);
        data_ = static_cast<const uint8_t *>(mapped);
    }
    ~MappedFile()
    {
        if (data_)
            ::munmap(const_cast<uint8_t *>(data_), size_);
        if (descriptor_ >= 0)
            ::close(descriptor_);
    }
    MappedFile(const MappedFile &) = delete;
    MappedFile &operator=(const MappedFile &) = delete;

    const uint8_t *data() const { return data_; }
    size_t size() const { return size_; }
    // True when `path` names this very file (also through a link).
    bool isFile(const std::string &path) const
    {
        struct stat facts {};
        return ::stat(path.c_str(), &facts) == 0 && facts.st_dev == device_ && facts.st_ino == inode_;
    }

private:
    int descriptor_ = -1;
    const uint8_t *data_ = nullptr;
    size_t size_ = 0;
    dev_t device_ = 0;
    ino_t inode_ = 0;
};

// A new file written beside `target` and renamed over it on commit(); a
// writer that is not committed removes its temporary file.
class AtomicWriter {
public:
    AtomicWriter(const std::string &target, mode_t mode) : target_(target)
    {
        static std::atomic<unsigned> made{0};
        for (int attempt = 0; attempt < 100 && descriptor_ < 0; ++attempt) {
            temporary_ = target + ".part" + std::to_string(::getpid()) + "-" + std::to_string(made++);
            descriptor_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
            if (descriptor_ < 0 && errno != EEXIST)
                break;
        }
        if (descriptor_ < 0)
            FailWithErrno(CONVERT_CANNOT_WRITE, "Cannot create " + Quoted(target), errno);
    }
    ~AtomicWriter()
    {
        if (descriptor_ >= 0)
            ::close(descriptor_);
        if (!committed_)
            ::unlink(temporary_.c_str());
    }
    AtomicWriter(const AtomicWriter &) = delete;
    AtomicWriter &operator=(const AtomicWriter &) = delete;

    void write(const uint8_t *bytes, size_t count)
    {
        while (count > 0) {
            const ssize_t written = ::write(descriptor_, bytes, count);
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                FailWithErrno(CONVERT_CANNOT_WRITE, "Cannot write " + Quoted(target_), written < 0 ? errno : ENOSPC);
            bytes += written;
            count -= size_t(written);
        }
    }

    void commit()
    {
        if (::fsync(descriptor_) != 0)
            FailWithErrno(CONVERT_CANNOT_WRITE, "Cannot write " + Quoted(target_), errno);
        const int closed = ::close(descriptor_);
        descriptor_ = -1;
        if (closed != 0)
            FailWithErrno(CONVERT_CANNOT_WRITE, "Cannot write " + Quoted(target_), errno);
        if (::rename(temporary_.c_str(), target_.c_str()) != 0)
            FailWithErrno(CONVERT_CANNOT_WRITE, "Cannot replace " + Quoted(target_), errno);
        committed_ = true;
    }

private:
    std::string target_;
    std::string temporary_;
    int descriptor_ = -1;
    bool committed_ = false;
};

void CheckArguments(const char *source, const char *target)
{
    if (!source || !*source || !target || !*target)
        Fail(CONVERT_BAD_ARGUMENT, "Both a source and a target file are needed.");
}

void RefuseSameFile(const MappedFile &source, const std::string &sourcePath, const std::string &target)
{
    if (source.isFile(target))
        Fail(CONVERT_SAME_FILE, "The target " + Quoted(target) + " is the source " + Quoted(sourcePath) + " itself.");
}

// The projector program beside this library, found through the library's
// own file so that it works wherever the program folder is.
std::string ProjectorProgramPath()
{
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void *>(&swf2exe), &info) == 0 || !info.dli_fname)
        Fail(CONVERT_NO_PROJECTOR, "The converter library cannot find its own folder.");
    char resolved[PATH_MAX];
    std::string library = ::realpath(info.dli_fname, resolved) ? resolved : info.dli_fname;
    return library.substr(0, library.rfind('/') + 1) + "projector";
}

void WriteLittleEndian32(AtomicWriter &writer, uint32_t value)
{
    const uint8_t bytes[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
    writer.write(bytes, sizeof bytes);
}

void MakeProjector(const std::string &source, const std::string &target)
{
    const MappedFile movie(source);
    RefuseSameFile(movie, source, target);
    if (!StartsLikeMovie(movie.data(), movie.size()))
        Fail(CONVERT_NOT_A_MOVIE, Quoted(source) + " is not a Flash movie.");
    if (movie.size() > UINT32_MAX)
        Fail(CONVERT_TOO_LARGE, Quoted(source) + " is too large for a projector.");
    const std::string programPath = ProjectorProgramPath();
    std::unique_ptr<MappedFile> program;
    try {
        program = std::make_unique<MappedFile>(programPath);
    } catch (const ConvertFailure &failure) {
        Fail(CONVERT_NO_PROJECTOR, "The projector program is missing. " + failure.message);
    }
    RefuseSameFile(*program, programPath, target);
    AtomicWriter writer(target, 0777);
    writer.write(program->data(), program->size());
    writer.write(movie.data(), movie.size());
    writer.write(kProjectorMagic, sizeof kProjectorMagic);
    WriteLittleEndian32(writer, uint32_t(movie.size()));
    writer.commit();
}

void ExtractMovie(const std::string &source, const std::string &target)
{
    const MappedFile projector(source);
    RefuseSameFile(projector, source, target);
    const std::optional<MovieSpan> movie = FindProjectorMovie(projector.data(), projector.size());
    if (!movie)
        Fail(CONVERT_NO_MOVIE, "No Flash movie was found in " + Quoted(source) + ".");
    AtomicWriter writer(target, 0666);
    writer.write(projector.data() + movie->offset, movie->length);
    writer.commit();
}

template <typename Conversion>
int Run(const char *source, const char *target, Conversion conversion)
{
    try {
        CheckArguments(source, target);
        conversion(source, target);
        lastMessage.clear();
        return CONVERT_OK;
    } catch (const ConvertFailure &failure) {
        lastMessage = failure.message;
        return failure.code;
    } catch (const std::exception &error) {
        lastMessage = error.what();
        return CONVERT_CANNOT_WRITE;
    }
}

}  // namespace

extern "C" {

CONVERTER_EXPORT int swf2exe(const char *source, const char *target) { return Run(source, target, MakeProjector); }

CONVERTER_EXPORT int exe2swf(const char *source, const char *target) { return Run(source, target, ExtractMovie); }

CONVERTER_EXPORT const char *convertmessage(void) { return lastMessage.c_str(); }
}
