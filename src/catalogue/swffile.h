#pragma once
// A movie file opened read-only for the header reader: positioned reads and
// the size, with every failure raised as ESwfHeaderError naming the file.
// One instance belongs to one thread; the descriptor closes with it.

#include <QString>
#include <cstddef>
#include <cstdint>

class TSwfFile {
public:
    // Opens `path`; throws ESwfHeaderError when that fails.
    explicit TSwfFile(const QString &path);
    ~TSwfFile();
    TSwfFile(const TSwfFile &) = delete;
    TSwfFile &operator=(const TSwfFile &) = delete;

    // True for a regular file or a link to one; false for folders, devices,
    // pipes and sockets, which are never read as movies (a pipe would block
    // the reader).
    static bool isRegularFile(const QString &path);

    uint64_t size() const { return size_; }
    // Reads up to `count` bytes at `offset`; fewer only at the end of the
    // file. Throws on a read error.
    size_t readAt(uint64_t offset, uint8_t *buffer, size_t count) const;
    const QString &path() const { return path_; }

private:
    QString path_;
    int fd_ = -1;
    uint64_t size_ = 0;
};
