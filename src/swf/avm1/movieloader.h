#pragma once
// Movies that scripts load into clips and levels (loadMovie, loadMovieNum,
// unloadMovie, getURL into a target, MovieClipLoader) and the levels above
// the root that they make.
//
// As the player does it, a load never happens at once: after the actions
// of the next tick the file is read and the target's content replaced
// (the target's own properties go; old references reach it only
// by the path they were taken under), the listeners hear
// onLoadStart, onLoadProgress and onLoadComplete, the new first frame's
// actions run, and then onLoadInit. A file that is missing, outside the
// movie's folder or not a movie gives onLoadError "URLNotFound"; a
// network address, closed to a local movie, "IllegalRequest" from SWF 7
// on and nothing before; errors reach the listeners as the tick after
// begins.
//
// Loads are bounded: a few per tick, nested clips no deeper than the
// player allows, each file read once and booked in the script memory.
// One player's thread.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "swf/avm1/moviefacts.h"
#include "swf/avm1/object.h"
#include "swf/avm1/value.h"
#include "swf/timeline/timeline.h"

namespace swf {
class TimelineState;
struct PlayerContext;
}  // namespace swf

namespace swf::avm1 {

class ClipObject;
class Machine;
class Object;

// What the loader needs of the script engine.
class LoadHost {
public:
    virtual ~LoadHost() = default;
    virtual ClipObject *objectFor(TimelineState *state) = 0;
    // `state` plays a new movie: its object loses its own properties, or
    // the clip gets a new one (see ClipObject::movedSinceMade).
    virtual void renewObject(TimelineState &state) = 0;
    // Shows the new first frame, queueing its actions and the clip's
    // initialize and load handlers.
    virtual void startLoaded(TimelineState &state) = 0;
    // Runs the actions queued so far.
    virtual void runPending() = 0;
    // The movie asked to quit: no more handlers run.
    virtual bool hasQuit() const = 0;
    // Variables were loaded into the clip: its data handlers are due.
    virtual void dataArrived(TimelineState &state) = 0;
};

// The native state of an object that loads text (XML): what arrived, for
// getBytesLoaded and getBytesTotal. Undefined (negative) before a load.
struct DataReceipt : NativeState {
    double bytesLoaded = -1;
    double bytesTotal = -1;
};

// Where a load goes: a clip, or a level by number.
struct LoadTarget {
    ClipObject *clip = nullptr;
    int level = -1;
};

class MovieLoader {
public:
    static constexpr int kLoadsPerTick = 8;
    static constexpr size_t kCachedFiles = 64;

    MovieLoader(Machine &machine, LoadHost &host, const MovieFacts &main);
    ~MovieLoader();

    void setReaders(MovieReader movies, TextReader texts)
    {
        reader_ = std::move(movies);
        textReader_ = std::move(texts);
    }
    void setPlayer(PlayerContext *context, TimelineState *root)
    {
        context_ = context;
        root_ = root;
    }

    // A movie for the target, or (empty `url`) the target emptied.
    // `listener` (a MovieClipLoader) hears the events.
    void request(const LoadTarget &target, const std::string &url, Object *listener = nullptr);
    // Variables ("a=1&b=2") for a clip or a level, then its data handlers.
    void requestVariables(const LoadTarget &target, const std::string &url);
    // A text file for `receiver`'s onData (LoadVars, XML): the text, or
    // undefined when it cannot be read.
    void requestData(Object *receiver, const std::string &url);
    // The bytes of a file of the movie's folder, read now; false when the
    // address leads elsewhere or the file cannot be read.
    bool readFile(const std::string &url, std::string &bytes);
    // `receiver`'s onLoad(success) on the next tick (Sound.loadSound).
    void requestLoadedCall(Object *receiver, bool success);
    // fscommand given as a load (loadMovie("fscommand:quit", target)):
    // carried out after this tick's actions, before the loads.
    void requestCommand(const std::string &command, const std::string &args)
    {
        commands_.emplace_back(command, args);
    }
    // A tick begins; after its actions, runDue() carries out the requests
    // of earlier ticks.
    void beginTick() { ++tick_; }
    void runDue();
    // At the start of a tick, before the clips move.
    void reportFailures();

    // The levels above 0 that loads made, by number.
    const std::map<int, std::unique_ptr<TimelineState>> &levels() const { return levels_; }
    TimelineState *level(int number) const;
    // "_level3" for the top of a level, "" for other timelines.
    std::string levelName(const TimelineState *state) const;
    // The movie `state` plays in (the main movie unless a load put it there).
    const MovieFacts &factsOf(const TimelineState *state) const;
    const MovieFacts &mainFacts() const { return main_; }
    // `state` plays a movie's main timeline.
    bool isMovieTop(const TimelineState *state) const { return state == root_ || movies_.count(state) > 0; }
    // The file's length for the top of a movie, the length of its tags
    // for a clip of the movie's own (none for an empty one).
    double bytesOf(const TimelineState *state) const;
    // `state` is going: nothing must point at it.
    void forget(const TimelineState *state);
    // The levels go before the engine does.
    void clear();
    // What waiting requests keep alive, for the collector.
    void addRoots(std::vector<Object *> &roots) const;

private:
    struct Request {
        enum class Kind { Movie, Variables, Data, LoadedCall };
        Kind kind = Kind::Movie;
        LoadTarget target;
        std::string url;
        // The MovieClipLoader, or what receives data.
        Object *listener = nullptr;
        uint64_t tick = 0;
        std::shared_ptr<const LoadedMovie> movie;
        std::string query;
        bool success = false;
    };

    // Reads the file; the error to report when that fails, else null.
    const char *open(Request &request);
    void carryOut(const Request &request);
    // Variables and data: the file's text, or undefined.
    void deliverText(const Request &request);
    Value readText(const std::string &url);
    void unload(const Request &request);
    void runCommands();
    void showFirstFrame(TimelineState &state);
    // The timeline the request loads into (made for a new level); null
    // when the target is gone.
    TimelineState *targetState(const Request &request, bool create);
    std::shared_ptr<const LoadedMovie> read(const std::string &relativePath);
    bool tooDeep(const TimelineState *state) const;
    void notify(const Request &request, const char *event, std::vector<Value> args);
    void fail(const Request &request, const char *error);

    Machine &machine_;
    LoadHost &host_;
    MovieFacts main_;
    std::string folder_;
    MovieReader reader_;
    TextReader textReader_;
    PlayerContext *context_ = nullptr;
    TimelineState *root_ = nullptr;
    uint64_t tick_ = 0;
    std::vector<Request> waiting_;
    std::vector<std::pair<std::string, std::string>> commands_;
    std::vector<std::pair<Request, const char *>> failed_;
    std::map<int, std::unique_ptr<TimelineState>> levels_;
    std::unordered_map<const TimelineState *, std::shared_ptr<const LoadedMovie>> movies_;
    std::unordered_map<std::string, std::shared_ptr<const LoadedMovie>> files_;
    Timeline empty_;
};

}  // namespace swf::avm1
