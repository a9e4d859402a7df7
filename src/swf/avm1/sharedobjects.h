#pragma once
// The shared objects of one player (SharedObject.getLocal): one script
// object per file, read from the store when first asked for and written
// back by flush() and when the player goes, as the player does on exit.
//
// A file's path is "localhost", the folder the movie names (its own path
// unless getLocal's localPath names a folder above it) and the object's
// name with ".sol". Names the player refuses (blanks, ~ % & \ ; : " ' , < >
// ? #) and paths that would leave their folder give no object. Each object
// may take up to kLocalLimit bytes; a larger flush is "pending", and as no
// one is there to allow more, onStatus hears SharedObject.Flush.Failed on
// the next frame. One player's thread; the script engine owns it.

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "swf/avm1/sharedobjectstore.h"
#include "swf/avm1/value.h"

namespace swf::avm1 {

class Machine;
class Object;

class SharedObjects {
public:
    static constexpr size_t kLocalLimit = size_t(100) * 1024;
    // Larger files are not read.
    static constexpr size_t kReadLimit = size_t(16) << 20;

    SharedObjects(Machine &machine, std::string moviePath);
    ~SharedObjects();
    SharedObjects(const SharedObjects &) = delete;
    SharedObjects &operator=(const SharedObjects &) = delete;

    void setStore(std::shared_ptr<SharedObjectStore> store) { store_ = std::move(store); }

    // The object for `name` (made with `prototype` and read on first use);
    // null when the name or the folder is refused.
    Value getLocal(const Value &name, const Value &localPath, Object *prototype);
    // true when written, false when it could not be, "pending" when larger
    // than allowed (the failure follows through onStatus).
    Value flush(Object *sharedObject, double minimumBytes);
    // Empties the data and removes the file.
    void clear(Object *sharedObject);
    // The bytes the data takes in its file; 0 without data.
    double size(Object *sharedObject);

    void addRoots(std::vector<Object *> &roots) const;

    // "localhost/..../name.sol", or "" when refused.
    static std::string FilePath(const std::string &moviePath, const std::string &name, const Value &localPath,
                                const std::string &localPathText);

private:
    struct Entry {
        std::string name;
        Object *object = nullptr;
        Object *data = nullptr;
    };

    const std::pair<const std::string, Entry> *find(Object *sharedObject) const;
    void load(const std::string &path, Object *data);
    // The file's bytes, or "" when the data holds nothing.
    std::string encode(const Entry &entry);
    void reportFailure(Object *sharedObject);

    Machine &machine_;
    std::string moviePath_;
    std::shared_ptr<SharedObjectStore> store_;
    std::unordered_map<std::string, Entry> entries_;
};

}  // namespace swf::avm1
