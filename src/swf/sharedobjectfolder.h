#pragma once
// Shared objects kept as files under one folder, each path the engine
// names below it (never outside: a path with "..", or one that leaves the
// folder once cleaned, is refused). A file is replaced whole: written
// beside the target, then renamed over it. Files larger than the engine
// reads are not read. Any thread, one call at a time per path.

#include <QString>

#include "swf/avm1/sharedobjectstore.h"

namespace swf {

class SharedObjectFolder : public avm1::SharedObjectStore {
public:
    explicit SharedObjectFolder(const QString &folder);

    bool read(const std::string &path, std::string &bytes) override;
    bool write(const std::string &path, const std::string &bytes) override;
    void remove(const std::string &path) override;

private:
    // The file for `path`; empty when it would lie outside the folder.
    QString fileFor(const std::string &path) const;

    QString folder_;
};

}  // namespace swf
