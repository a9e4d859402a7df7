#include "swf/avm1/movieloader.h"

#include "swf/avm1/clipobject.h"
#include "swf/avm1/loadaddress.h"
#include "swf/avm1/machine.h"
#include "swf/timeline/timelinestate.h"

namespace swf::avm1 {

namespace {

// Local movies may not reach the network; the player says so from SWF 7 on.
constexpr int kRefusesNetworkVersion = 7;
// A failure the player does not report.
const char *const kSilentFailure = "";

std::string FolderOf(const std::string &path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash == 0 ? 1 : slash);
}

}  // namespace

MovieLoader::MovieLoader(Machine &machine, LoadHost &host, const MovieFacts &main)
    : machine_(machine), host_(host), main_(main), folder_(FolderOf(main.path))
{
    empty_.setFrameCount(1);
}

MovieLoader::~MovieLoader() = default;

void MovieLoader::clear()
{
    waiting_.clear();
    commands_.clear();
    failed_.clear();
    levels_.clear();
    movies_.clear();
}

void MovieLoader::request(const LoadTarget &target, const std::string &url, Object *listener)
{
    Request request{Request::Kind::Movie, target, url, listener, tick_, nullptr, {}};
    waiting_.push_back(std::move(request));
}

void MovieLoader::requestVariables(const LoadTarget &target, const std::string &url)
{
    Request request{Request::Kind::Variables, target, url, nullptr, tick_, nullptr, {}};
    waiting_.push_back(std::move(request));
}

void MovieLoader::requestData(Object *receiver, const std::string &url)
{
    Request request{Request::Kind::Data, {}, url, receiver, tick_, nullptr, {}};
    waiting_.push_back(std::move(request));
}

void MovieLoader::requestLoadedCall(Object *receiver, bool success)
{
    Request request{Request::Kind::LoadedCall, {}, {}, receiver, tick_, nullptr, {}};
    request.success = success;
    waiting_.push_back(std::move(request));
}

bool MovieLoader::readFile(const std::string &url, std::string &bytes)
{
    const LoadAddress address = ParseLoadAddress(url);
    if (address.kind != LoadAddress::Kind::File || !textReader_ || folder_.empty()
        || !textReader_(folder_, folder_ + "/" + address.relativePath, bytes))
        return false;
    machine_.book(bytes.size());
    return true;
}

void MovieLoader::runCommands()
{
    std::vector<std::pair<std::string, std::string>> commands;
    commands.swap(commands_);
    for (const auto &[command, args] : commands)
        if (machine_.clips)
            machine_.clips->fsCommand(command, args);
}

void MovieLoader::runDue()
{
    runCommands();
    int budget = kLoadsPerTick;
    std::vector<Request> due;
    std::vector<Request> later;
    for (Request &request : waiting_)
        (request.tick < tick_ && budget-- > 0 ? due : later).push_back(std::move(request));
    waiting_ = std::move(later);
    for (Request &request : due) {
        if (request.kind == Request::Kind::LoadedCall)
            machine_.callMethod(Value(request.listener), "onLoad", Args({Value(request.success)}));
        else if (request.kind != Request::Kind::Movie)
            deliverText(request);
        else if (const char *error = open(request))
            failed_.emplace_back(std::move(request), error);
        else
            carryOut(request);
    }
    // What the new movies' first frames asked for.
    runCommands();
}

void MovieLoader::reportFailures()
{
    std::vector<std::pair<Request, const char *>> failed;
    failed.swap(failed_);
    for (const auto &[request, error] : failed)
        fail(request, error);
}

void MovieLoader::addRoots(std::vector<Object *> &roots) const
{
    auto add = [&](const Request &request) {
        if (request.target.clip)
            roots.push_back(request.target.clip);
        if (request.listener)
            roots.push_back(request.listener);
    };
    for (const Request &request : waiting_)
        add(request);
    for (const auto &failure : failed_)
        add(failure.first);
}

TimelineState *MovieLoader::level(int number) const
{
    if (number == 0)
        return root_;
    const auto it = levels_.find(number);
    return it == levels_.end() ? nullptr : it->second.get();
}

std::string MovieLoader::levelName(const TimelineState *state) const
{
    if (state == root_)
        return "_level0";
    for (const auto &[number, level] : levels_)
        if (level.get() == state)
            return "_level" + std::to_string(number);
    return {};
}

const MovieFacts &MovieLoader::factsOf(const TimelineState *state) const
{
    for (; state; state = state->parent()) {
        const auto it = movies_.find(state);
        if (it != movies_.end())
            return it->second->facts;
    }
    return main_;
}

double MovieLoader::bytesOf(const TimelineState *state) const
{
    if (isMovieTop(state))
        return factsOf(state).bytesTotal;
    return double(state->timeline().byteLength);
}

void MovieLoader::forget(const TimelineState *state)
{
    movies_.erase(state);
}

TimelineState *MovieLoader::targetState(const Request &request, bool create)
{
    if (request.target.clip)
        return request.target.clip->state();
    if (request.target.level < 0)
        return nullptr;
    TimelineState *existing = level(request.target.level);
    if (existing || !create || !context_)
        return existing;
    auto made = std::make_unique<TimelineState>(empty_, *context_, 0);
    TimelineState *state = made.get();
    levels_.emplace(request.target.level, std::move(made));
    return state;
}

std::shared_ptr<const LoadedMovie> MovieLoader::read(const std::string &relativePath)
{
    const auto cached = files_.find(relativePath);
    if (cached != files_.end())
        return cached->second;
    if (!reader_ || folder_.empty() || files_.size() >= kCachedFiles)
        return nullptr;
    auto movie = reader_(folder_, folder_ + "/" + relativePath);
    if (!movie || !movie->timeline)
        return nullptr;
    try {
        machine_.book(size_t(std::max(0.0, movie->facts.bytesTotal)));
    } catch (const ScriptAbort &) {
        return nullptr;
    }
    files_.emplace(relativePath, movie);
    return movie;
}

Value MovieLoader::readText(const std::string &url)
{
    std::string text;
    if (!readFile(url, text) || text.empty())
        return {};
    return Value(text);
}

void MovieLoader::deliverText(const Request &request)
{
    const Value text = readText(request.url);
    if (request.kind == Request::Kind::Data) {
        auto *receipt = dynamic_cast<DataReceipt *>(request.listener->native.get());
        if (receipt && text.isString())
            receipt->bytesLoaded = receipt->bytesTotal = double(text.string().size());
        machine_.callMethod(Value(request.listener), "onData", Args({text}));
        return;
    }
    TimelineState *state = targetState(request, true);
    if (!state || !text.isString())
        return;
    ClipObject *clip = host_.objectFor(state);
    for (const auto &[name, value] : DecodeFormData(text.string()))
        machine_.set(clip, name, Value(value));
    host_.dataArrived(*state);
}

void MovieLoader::notify(const Request &request, const char *event, std::vector<Value> args)
{
    if (!request.listener || host_.hasQuit())
        return;
    args.insert(args.begin(), Value(event));
    machine_.callMethod(Value(request.listener), "broadcastMessage", Args(std::move(args)));
}

void MovieLoader::fail(const Request &request, const char *error)
{
    if (error == kSilentFailure)
        return;
    TimelineState *state = targetState(request, false);
    ClipObject *clip = state ? host_.objectFor(state) : nullptr;
    notify(request, "onLoadError", {clip ? Value(clip) : Value(), Value(error), Value(0.0)});
}

void MovieLoader::unload(const Request &request)
{
    if (request.target.level > 0 && !request.target.clip) {
        levels_.erase(request.target.level);
        return;
    }
    TimelineState *state = targetState(request, false);
    if (!state)
        return;
    if (state != root_ && !state->parent()) {
        for (auto it = levels_.begin(); it != levels_.end(); ++it)
            if (it->second.get() == state) {
                levels_.erase(it);
                return;
            }
    }
    state->load(empty_, nullptr);
    movies_.erase(state);
    host_.renewObject(*state);
    host_.startLoaded(*state);
}

const char *MovieLoader::open(Request &request)
{
    if (request.url.empty())
        return nullptr;
    const LoadAddress address = ParseLoadAddress(request.url);
    if (address.kind == LoadAddress::Kind::Network)
        return machine_.version() >= kRefusesNetworkVersion ? "IllegalRequest" : kSilentFailure;
    request.movie = address.kind == LoadAddress::Kind::File ? read(address.relativePath) : nullptr;
    request.query = address.query;
    return request.movie ? nullptr : "URLNotFound";
}

void MovieLoader::carryOut(const Request &request)
{
    if (request.url.empty()) {
        unload(request);
        return;
    }
    const auto &movie = request.movie;
    // A level the load makes plays its first frame as it appears, before
    // the listeners hear of the load; a clip or a level already there
    // shows the new movie only once they heard it was complete.
    const bool newLevel = !request.target.clip && !level(request.target.level);
    TimelineState *state = targetState(request, true);
    if (!state)
        return;
    state->load(*movie->timeline, movie->facts.dictionary);
    movies_[state] = movie;
    host_.renewObject(*state);
    ClipObject *clip = host_.objectFor(state);
    for (const auto &[name, value] : DecodeFormData(request.query))
        machine_.set(clip, name, Value(value));
    if (newLevel)
        showFirstFrame(*state);
    const Value bytes(movie->facts.bytesTotal);
    notify(request, "onLoadStart", {Value(clip)});
    notify(request, "onLoadProgress", {Value(clip), bytes, bytes});
    notify(request, "onLoadComplete", {Value(clip), Value(0.0)});
    // A listener may have removed the clip meanwhile.
    state = clip->state();
    if (!state)
        return;
    if (!newLevel)
        showFirstFrame(*state);
    notify(request, "onLoadInit", {Value(clip)});
}

void MovieLoader::showFirstFrame(TimelineState &state)
{
    host_.startLoaded(state);
    host_.runPending();
}

}  // namespace swf::avm1
