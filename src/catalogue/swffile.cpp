#include "catalogue/swffile.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "catalogue/swfheader.h"

namespace {

[[noreturn]] void RaiseSystemError(const char *what, const QString &path, int error)
{
    throw ESwfHeaderError(QStringLiteral("%1 \"%2\": %3")
                              .arg(QString::fromLatin1(what), path, QString::fromLocal8Bit(std::strerror(error)))
                              .toStdString());
}

}  // namespace

TSwfFile::TSwfFile(const QString &path) : path_(path)
{
    fd_ = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0)
        RaiseSystemError("Cannot open file", path, errno);
    struct stat info {};
    if (::fstat(fd_, &info) != 0) {
        const int error = errno;
        ::close(fd_);
        RaiseSystemError("Cannot open file", path, error);
    }
    size_ = static_cast<uint64_t>(info.st_size);
}

TSwfFile::~TSwfFile() { ::close(fd_); }

bool TSwfFile::isRegularFile(const QString &path)
{
    struct stat info {};
    return !path.isEmpty() && ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

size_t TSwfFile::readAt(uint64_t offset, uint8_t *buffer, size_t count) const
{
    size_t done = 0;
    while (done < count) {
        const ssize_t got = ::pread(fd_, buffer + done, count - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            RaiseSystemError("Cannot read file", path_, errno);
        if (got == 0)
            break;
        done += static_cast<size_t>(got);
    }
    return done;
}
