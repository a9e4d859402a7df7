#include "swf/avm1/sharedobjects.h"

#include "swf/avm1/machine.h"
#include "swf/avm1/solformat.h"

namespace swf::avm1 {

namespace {

const char kRefusedCharacters[] = "~%&\\;:\"',<>?# ";
const char kHost[] = "localhost";

// Every part of the path is a plain name: none empty, "." or "..".
bool PlainParts(const std::string &path)
{
    size_t start = 0;
    for (;;) {
        const size_t slash = path.find('/', start);
        const std::string part = path.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        if (part.empty() || part == "." || part == "..")
            return false;
        if (slash == std::string::npos)
            return true;
        start = slash + 1;
    }
}

// The folder localPath names, which must be the movie's path or above it.
bool FolderFor(const std::string &moviePath, const Value &localPath, std::string localText, std::string &folder)
{
    if (localPath.isNullish()) {
        folder = moviePath;
        return true;
    }
    while (localText.size() > 1 && localText.back() == '/')
        localText.pop_back();
    if (localText.empty() || localText[0] != '/')
        return false;
    const bool above = localText == "/" || moviePath == localText
                       || moviePath.compare(0, localText.size() + 1, localText + "/") == 0;
    folder = localText == "/" ? std::string() : localText;
    return above;
}

}  // namespace

SharedObjects::SharedObjects(Machine &machine, std::string moviePath)
    : machine_(machine), moviePath_(std::move(moviePath)), store_(std::make_shared<MemorySharedObjectStore>())
{
    if (!moviePath_.empty() && moviePath_[0] != '/')
        moviePath_ = "/" + moviePath_;
}

// The player writes every shared object as it closes the movie. No script
// may run now, nor may a limit stop the writing halfway.
SharedObjects::~SharedObjects()
{
    machine_.refillActionBudget();
    for (const auto &[path, entry] : entries_) {
        try {
            const std::string bytes = encode(entry);
            if (!bytes.empty() && bytes.size() <= kLocalLimit)
                store_->write(path, bytes);
        } catch (...) {
            // A damaged object stays as it was last flushed.
        }
    }
}

std::string SharedObjects::FilePath(const std::string &moviePath, const std::string &name, const Value &localPath,
                                    const std::string &localPathText)
{
    std::string folder;
    if (!PlainParts(name) || name.find_first_of(kRefusedCharacters) != std::string::npos
        || !FolderFor(moviePath, localPath, localPathText, folder))
        return {};
    const std::string path = kHost + folder + "/" + name + ".sol";
    return PlainParts(path) ? path : std::string();
}

Value SharedObjects::getLocal(const Value &name, const Value &localPath, Object *prototype)
{
    if (name.isNullish())
        return Value::null();
    const std::string text = machine_.toString(name);
    const std::string path =
        FilePath(moviePath_, text, localPath, localPath.isNullish() ? std::string() : machine_.toString(localPath));
    if (path.empty())
        return Value::null();
    auto found = entries_.find(path);
    if (found != entries_.end())
        return Value(found->second.object);
    Entry entry{text, machine_.make<Object>(prototype), machine_.newObject()};
    machine_.defineValue(entry.object, "data", Value(entry.data), kDontEnum | kDontDelete | kReadOnly);
    load(path, entry.data);
    entries_.emplace(path, entry);
    return Value(entry.object);
}

void SharedObjects::load(const std::string &path, Object *data)
{
    std::string bytes;
    std::vector<std::pair<std::string, Value>> properties;
    if (!store_->read(path, bytes) || bytes.size() > kReadLimit || !DecodeSol(machine_, bytes, properties))
        return;
    for (const auto &[name, value] : properties)
        machine_.set(data, name, value);
}

const std::pair<const std::string, SharedObjects::Entry> *SharedObjects::find(Object *sharedObject) const
{
    for (const auto &entry : entries_)
        if (entry.second.object == sharedObject)
            return &entry;
    return nullptr;
}

std::string SharedObjects::encode(const Entry &entry)
{
    std::string bytes = EncodeSol(machine_, entry.name, entry.data);
    return bytes == EncodeSol(machine_, entry.name, nullptr) ? std::string() : bytes;
}

Value SharedObjects::flush(Object *sharedObject, double minimumBytes)
{
    const auto *entry = find(sharedObject);
    if (!entry)
        return Value(false);
    const std::string bytes = encode(entry->second);
    if (bytes.size() > kLocalLimit || minimumBytes > double(kLocalLimit)) {
        reportFailure(sharedObject);
        return Value("pending");
    }
    if (bytes.empty()) {
        store_->remove(entry->first);
        return Value(true);
    }
    return Value(store_->write(entry->first, bytes));
}

void SharedObjects::reportFailure(Object *sharedObject)
{
    Object *info = machine_.newObject();
    machine_.set(info, "code", Value("SharedObject.Flush.Failed"));
    machine_.set(info, "level", Value("error"));
    Timer timer;
    timer.id = machine_.nextTimerId++;
    timer.function = Value(sharedObject);
    timer.method = "onStatus";
    timer.args = Args({Value(info)});
    timer.due = machine_.clockMs;
    timer.repeat = false;
    machine_.timers.push_back(std::move(timer));
}

void SharedObjects::clear(Object *sharedObject)
{
    const auto *entry = find(sharedObject);
    if (!entry)
        return;
    Object *data = entry->second.data;
    for (const Property *p : data->ownNewestFirst())
        if (p->name != kProtoName)
            data->removeOwn(machine_.key(p->name));
    store_->remove(entry->first);
}

double SharedObjects::size(Object *sharedObject)
{
    const auto *entry = find(sharedObject);
    return entry ? double(encode(entry->second).size()) : 0;
}

void SharedObjects::addRoots(std::vector<Object *> &roots) const
{
    for (const auto &[path, entry] : entries_) {
        roots.push_back(entry.object);
        roots.push_back(entry.data);
    }
}

}  // namespace swf::avm1
