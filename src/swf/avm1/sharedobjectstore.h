#pragma once
// Where shared objects stay between runs of a movie. The engine names
// each file by a relative path ("localhost/home/me/game.swf/scores.sol")
// whose parts it has checked; the host decides where such paths live. The
// players give a folder of the program's data folder; tools and
// thumbnails keep them in memory for the run only. One player's thread.

#include <string>
#include <unordered_map>

namespace swf::avm1 {

class SharedObjectStore {
public:
    virtual ~SharedObjectStore() = default;
    // The file's bytes; false when there is none or it cannot be read.
    virtual bool read(const std::string &path, std::string &bytes) = 0;
    // Replaces the file whole; false when it could not be written.
    virtual bool write(const std::string &path, const std::string &bytes) = 0;
    virtual void remove(const std::string &path) = 0;
};

// Keeps the files for as long as it lives.
class MemorySharedObjectStore : public SharedObjectStore {
public:
    bool read(const std::string &path, std::string &bytes) override
    {
        auto found = files_.find(path);
        if (found == files_.end())
            return false;
        bytes = found->second;
        return true;
    }
    bool write(const std::string &path, const std::string &bytes) override
    {
        files_[path] = bytes;
        return true;
    }
    void remove(const std::string &path) override { files_.erase(path); }

private:
    std::unordered_map<std::string, std::string> files_;
};

}  // namespace swf::avm1
