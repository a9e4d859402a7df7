#include "swf/movie.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <algorithm>
#include <cstring>
#include <optional>

#include "swf/avm1/scriptengine.h"
#include "swf/format/container.h"
#include "swf/media/soundmixer.h"
#include "swf/moviedefinition.h"
#include "swf/picturemovie.h"
#include "swf/render/displayrenderer.h"
#include "swf/render/filterpainter.h"
#include "swf/render/focusrectangle.h"
#include "swf/sharedobjectfolder.h"
#include "swf/tagwalker.h"
#include "swf/timeline/buttontracker.h"
#include "swf/timeline/framesounds.h"
#include "swf/timeline/timelinestate.h"

namespace swf {

namespace {

// Files are read whole before decoding; a compressed body never needs more
// input than this to fill the body limit.
constexpr qint64 kFileReadLimit = qint64(MemoryBudget::kBodyLimit) * 2;
// Variables and XML that scripts load; what is beyond is not read.
constexpr qint64 kTextReadLimit = qint64(16) << 20;

// Stage twips to the pixels of `target`: the whole stage, centred, aspect
// kept.
QTransform StageToTarget(const Rect &stage, const QRect &target)
{
    const double stageWidth = double(stage.xMax) - stage.xMin;
    const double stageHeight = double(stage.yMax) - stage.yMin;
    const double scale = std::min(target.width() / stageWidth, target.height() / stageHeight);
    const double left = target.x() + (target.width() - stageWidth * scale) / 2;
    const double top = target.y() + (target.height() - stageHeight * scale) / 2;
    return QTransform(scale, 0, 0, scale, left - stage.xMin * scale, top - stage.yMin * scale);
}

QPointF StagePixelToTwips(const Rect &stage, const QPointF &point)
{
    return QPointF(stage.xMin + point.x() * kTwipsPerPixel, stage.yMin + point.y() * kTwipsPerPixel);
}

std::shared_ptr<const MovieDefinition> EmptyMovie()
{
    static const auto empty = std::make_shared<const MovieDefinition>();
    return empty;
}

}  // namespace

namespace {

std::shared_ptr<MovieDefinition> Load(const QByteArray &bytes, QString *error)
{
    auto movie = std::make_shared<MovieDefinition>();
    Container container;
    if (!container.decode(bytes, movie->budget, error))
        return nullptr;
    for (int i = 0; i < 3; ++i)
        movie->header.signature[i] = container.signature(i);
    movie->header.version = container.version();
    movie->header.fileLength = container.recordedLength();
    movie->body = container.body();
    TagWalker(*movie).walkBody(movie->body);
    movie->truncated = movie->truncated || container.isTruncated();
    if (error)
        error->clear();
    return movie;
}

}  // namespace

std::shared_ptr<const MovieDefinition> LoadMovie(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return nullptr;
    }
    auto movie = Load(file.read(kFileReadLimit), error);
    if (movie)
        movie->path = QFileInfo(path).absoluteFilePath();
    return movie;
}

std::shared_ptr<const MovieDefinition> LoadMovieFromBytes(const QByteArray &bytes, QString *error)
{
    return Load(bytes, error);
}

namespace {

avm1::MovieFacts FactsOf(const MovieDefinition &movie)
{
    avm1::MovieFacts facts;
    facts.version = movie.header.version;
    facts.frameRate = movie.header.frameRate;
    facts.stageWidth = (double(movie.header.frame.xMax) - movie.header.frame.xMin) / kTwipsPerPixel;
    facts.stageHeight = (double(movie.header.frame.yMax) - movie.header.frame.yMin) / kTwipsPerPixel;
    facts.dictionary = &movie.dictionary;
    facts.exports = &movie.exports;
    facts.exportFrames = &movie.exportFrames;
    facts.path = movie.path.toStdString();
    facts.bytesTotal = movie.header.fileLength;
    facts.maxRecursionDepth = movie.maxRecursionDepth;
    facts.scriptTimeoutSeconds = movie.scriptTimeoutSeconds;
    if (movie.setsBackground)
        facts.background = movie.background;
    return facts;
}

// What scripts load: only a file whose real place (links followed) is
// inside the main movie's folder; empty otherwise.
QString RealPathInside(const std::string &folder, const std::string &path)
{
    const QString realFolder = QFileInfo(QString::fromStdString(folder)).canonicalFilePath();
    const QString realPath = QFileInfo(QString::fromStdString(path)).canonicalFilePath();
    if (realFolder.isEmpty() || !realPath.startsWith(realFolder + QLatin1Char('/')) || !QFileInfo(realPath).isFile())
        return {};
    return realPath;
}

std::shared_ptr<const avm1::LoadedMovie> ReadLoadedMovie(const std::string &folder, const std::string &path)
{
    const QString realPath = RealPathInside(folder, path);
    if (realPath.isEmpty())
        return nullptr;
    QFile file(realPath);
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    const QByteArray bytes = file.read(kFileReadLimit);
    std::shared_ptr<MovieDefinition> movie = Load(bytes, nullptr);
    if (!movie)
        movie = PictureMovie(bytes);
    if (!movie)
        return nullptr;
    movie->path = QFileInfo(realPath).absoluteFilePath();
    auto loaded = std::make_shared<avm1::LoadedMovie>();
    loaded->facts = FactsOf(*movie);
    loaded->timeline = &movie->timeline;
    loaded->owner = movie;
    return loaded;
}

bool ReadLoadedText(const std::string &folder, const std::string &path, std::string &text)
{
    QFile file(RealPathInside(folder, path));
    if (file.fileName().isEmpty() || !file.open(QIODevice::ReadOnly))
        return false;
    QByteArray bytes = file.read(kTextReadLimit);
    // Text files written on Windows often start with a byte order mark.
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    text = bytes.toStdString();
    return true;
}

// How a script's BitmapData.draw sees a clip: drawn by the same renderer
// as the stage, into the bitmap's pixels.
void PaintClip(const Dictionary *dictionary, QImage &target, const DisplayList &list, const Matrix &toTarget, const ColorTransform &cx,
               const QRect &clip, bool smoothing)
{
    QPainter painter(&target);
    RenderContext context;
    context.painter = &painter;
    context.quality = smoothing ? Quality::High : Quality::Medium;
    context.dictionary = dictionary;
    context.stageToDevice = QTransform::fromScale(1.0 / kTwipsPerPixel, 1.0 / kTwipsPerPixel);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smoothing);
    painter.setClipRect(clip);
    QPainterPath area;
    area.addRect(QRectF(clip));
    DisplayRenderer(context, area).renderList(list, toTarget, cx);
}

}  // namespace

class MoviePlayer::State {
public:
    State(const std::shared_ptr<const MovieDefinition> &movie, std::function<void(const QString &)> trace,
          const QString &sharedObjectFolder, const DateClock &clock)
        : mixer(std::make_shared<SoundMixer>(movie)),
          context(movie->dictionary),
          scripts(FactsOf(*movie)),
          root(movie->timeline, context, 0),
          buttons(root, context)
    {
        if (trace)
            scripts.setTraceSink(
                [trace = std::move(trace)](const std::string &line) { trace(QString::fromStdString(line)); });
        context.scripts = &scripts;
        context.mixer = mixer.get();
        root.setRootPlacement(&rootPlacement);
        context.movieVersion = movie->header.version;
        scripts.setClipPainter([dictionary = &movie->dictionary](QImage &target, const DisplayList &list,
                                                                 const Matrix &toTarget, const ColorTransform &cx,
                                                                 const QRect &clip, bool smoothing) {
            PaintClip(dictionary, target, list, toTarget, cx, clip, smoothing);
        });
        scripts.setFilterPainter([](const Filter &filter, QImage &picture) { ApplyFilter(filter, picture, 1.0); });
        scripts.setRoot(&root);
        scripts.setPlayerContext(&context);
        scripts.setLoading(&context, ReadLoadedMovie, ReadLoadedText);
        if (!sharedObjectFolder.isEmpty())
            scripts.setSharedObjectStore(std::make_shared<SharedObjectFolder>(sharedObjectFolder));
        buttons.setListener(&scripts);
        scripts.machine().dateEpochMs = clock.nowMs;
        scripts.machine().utcOffsetMinutes = clock.utcOffsetMinutes;
        showFirstFrame();
    }

    // The frame a movie opens on is shown, so its sounds are due, the
    // root's and its clips' alike; they wait in the paused mixer until the
    // host turns sound on, even if it moves to another frame first (a
    // preview starting past it).
    void showFirstFrame()
    {
        mixer->setPaused(true);
        context.sounds = mixer.get();
        root.start();
        scripts.rootStarted();
        scripts.runQueue();
        takeLevelBackground();
        context.sounds = nullptr;
        soundsPausedAt = root.currentFrame();
    }

    void advance(bool loop)
    {
        scripts.beginTick();
        TimelineState::AdvanceAll(context, root, loop);
        scripts.runQueue();
        takeLevelBackground();
    }

    void gotoFrame(int frame)
    {
        root.gotoFrame(frame);
        scripts.runQueue();
        takeLevelBackground();
    }

    // The player takes the first stage colour it meets: a movie that sets
    // none shows the first one a movie loaded into a level brings, and
    // keeps it when that level goes.
    void takeLevelBackground()
    {
        if (levelBackground)
            return;
        for (const auto &level : scripts.loader().levels())
            if ((levelBackground = scripts.loader().factsOf(level.second.get()).background))
                return;
    }
    ~State() { mixer->stopAll(); }

    std::shared_ptr<SoundMixer> mixer;
    int soundsPausedAt = 0;  // the frame shown when sound was last turned off
    PlayerContext context;
    // Declared before the root, so that it outlives every clip.
    avm1::ScriptEngine scripts;
    DisplayObject rootPlacement;
    TimelineState root;
    ButtonTracker buttons;
    std::optional<Rgba> levelBackground;
    // The last key that went down was taken by a button's key record.
    bool keyTakenByButton = false;
};

MoviePlayer::MoviePlayer(std::shared_ptr<const MovieDefinition> movie, std::function<void(const QString &)> trace,
                         const QString &sharedObjectFolder, const DateClock &clock)
    : movie_(movie ? std::move(movie) : EmptyMovie()),
      state_(std::make_unique<State>(movie_, std::move(trace), sharedObjectFolder, clock))
{
}

void MoviePlayer::setDateClock(const DateClock &clock)
{
    avm1::Machine &machine = state_->scripts.machine();
    machine.dateEpochMs = clock.nowMs - machine.clockMs;
    machine.utcOffsetMinutes = clock.utcOffsetMinutes;
}

MoviePlayer::~MoviePlayer() = default;

const MovieHeader &MoviePlayer::header() const { return movie_->header; }
Rgba MoviePlayer::backgroundColor() const
{
    return movie_->setsBackground ? movie_->background : state_->levelBackground.value_or(movie_->background);
}
int MoviePlayer::frameCount() const { return state_->root.frameCount(); }
int MoviePlayer::currentFrame() const { return state_->root.currentFrame(); }

// A new frame may bring a button under the pointer or take one away.
void MoviePlayer::gotoFrame(int frame)
{
    state_->gotoFrame(frame);
    state_->buttons.refresh();
}

void MoviePlayer::advance(bool loop)
{
    state_->advance(loop);
    state_->buttons.refresh();
}

bool MoviePlayer::quitRequested() const { return state_->scripts.quitRequested(); }

void MoviePlayer::setUrlHandler(std::function<void(const QString &)> open)
{
    if (!open) {
        state_->scripts.setUrlHandler(nullptr);
        return;
    }
    state_->scripts.setUrlHandler(
        [open = std::move(open)](const std::string &url) { open(QString::fromStdString(url)); });
}

bool MoviePlayer::isPlaying() const { return state_->root.isPlaying(); }
void MoviePlayer::setPlaying(bool playing) { state_->root.setPlaying(playing); }

void MoviePlayer::setSoundEnabled(bool enabled)
{
    if (enabled == isSoundEnabled())
        return;
    state_->context.sounds = enabled ? state_->mixer.get() : nullptr;
    if (!enabled) {
        state_->mixer->setPaused(true);
        state_->soundsPausedAt = currentFrame();
        return;
    }
    // Back on the frame it paused at, the movie's sounds go on from where
    // they stood; on another frame, that frame's sounds start too.
    if (currentFrame() != state_->soundsPausedAt)
        StartFrameSounds(movie_->timeline, currentFrame(), state_->context, &state_->root);
    state_->mixer->setPaused(false);
}

bool MoviePlayer::isSoundEnabled() const { return state_->context.sounds != nullptr; }
std::shared_ptr<SoundMixer> MoviePlayer::soundMixer() const { return state_->mixer; }

bool MoviePlayer::framesBehindSound(int &behind) const
{
    if (!isSoundEnabled())
        return false;  // a paused stream leads nothing
    const int soundFrame = state_->mixer->streamFrame(&state_->root, movie_->header.frameRate);
    if (soundFrame < 0)
        return false;
    behind = soundFrame - currentFrame();
    return true;
}

void MoviePlayer::render(QPainter &painter, const QRect &target, Quality quality) const
{
    if (target.isEmpty())
        return;
    painter.save();
    const QTransform hostTransform = painter.worldTransform();
    QPainterPath baseClip;
    baseClip.addRect(QRectF(target));
    if (painter.hasClipping())
        baseClip = baseClip.intersected(painter.clipPath());
    baseClip = hostTransform.map(baseClip);
    painter.fillRect(target, backgroundColor().toQColor());

    const Rect &stage = movie_->header.frame;
    if (!stage.isEmpty()) {
        RenderContext context;
        context.painter = &painter;
        context.quality = quality;
        context.dictionary = &movie_->dictionary;
        context.stageToDevice = StageToTarget(stage, target) * hostTransform;
        painter.resetTransform();
        painter.setRenderHint(QPainter::Antialiasing, context.antialias());
        painter.setRenderHint(QPainter::SmoothPixmapTransform, context.smoothBitmaps());
        DisplayRenderer renderer(context, baseClip);
        renderer.renderTimeline(state_->root, state_->rootPlacement.matrix, state_->rootPlacement.colorTransform);
        for (const auto &level : state_->scripts.loader().levels())
            renderer.renderTimeline(*level.second, Matrix(), ColorTransform());
        if (const auto focused = state_->scripts.focusRectangle())
            DrawFocusRectangle(painter, context.stageToDevice, *focused);
    }
    painter.restore();
}

QImage MoviePlayer::renderImage(const QSize &size, Quality quality) const
{
    if (size.isEmpty())
        return {};
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    image.fill(Qt::transparent);
    QPainter painter(&image);
    render(painter, QRect(QPoint(0, 0), size), quality);
    return image;
}

// Clip events and Mouse listeners hear the mouse before the buttons do.
void MoviePlayer::mouseMove(const QPointF &stagePoint)
{
    state_->context.mouse = StagePixelToTwips(movie_->header.frame, stagePoint);
    state_->scripts.mouseInput(avm1::ScriptEngine::MouseInput::Move);
    state_->buttons.mouseMove(state_->context.mouse);
}

void MoviePlayer::mouseDown(const QPointF &stagePoint)
{
    state_->context.mouse = StagePixelToTwips(movie_->header.frame, stagePoint);
    state_->scripts.mouseInput(avm1::ScriptEngine::MouseInput::Down);
    state_->buttons.mouseDown(state_->context.mouse);
}

void MoviePlayer::mouseUp(const QPointF &stagePoint)
{
    state_->context.mouse = StagePixelToTwips(movie_->header.frame, stagePoint);
    state_->scripts.mouseInput(avm1::ScriptEngine::MouseInput::Up);
    state_->buttons.mouseUp(state_->context.mouse);
}

void MoviePlayer::mouseLeave() { state_->buttons.mouseLeave(); }
// Scripts hear a key first, then the buttons' key records; a key they
// leave moves the focus (Tab) or clicks the focused button (Space, Enter).
void MoviePlayer::keyDown(int keyCode, char32_t character)
{
    state_->scripts.keyChanged(keyCode, character, true);
    state_->keyTakenByButton = state_->buttons.keyDown(keyCode, character);
    if (state_->keyTakenByButton)
        return;
    if (keyCode == kKeyTab) {
        state_->scripts.tabPressed();
    } else if (keyCode == kKeySpace || keyCode == kKeyEnter) {
        const TimelineState *button = state_->scripts.focusedButton();
        if (const auto path = button ? PathTo(state_->root, *button) : std::nullopt)
            state_->buttons.click(*path);
    }
}

void MoviePlayer::keyUp(int keyCode, char32_t character) { state_->scripts.keyChanged(keyCode, character, false); }
void MoviePlayer::keyboardLost() { state_->scripts.keyboardLost(); }

void MoviePlayer::textInput(const QString &typed)
{
    if (!state_->keyTakenByButton)
        state_->scripts.textInput(typed);
}

void MoviePlayer::textControl(TextControl control) { state_->scripts.textControl(control); }
void MoviePlayer::setClipboardText(const QString &text) { state_->scripts.setClipboardText(text); }
QString MoviePlayer::clipboardText() const { return state_->scripts.clipboardText(); }
ButtonTracker &MoviePlayer::buttons() { return state_->buttons; }

MouseCursor MoviePlayer::cursor() const
{
    return state_->buttons.overButton() ? MouseCursor::Hand : MouseCursor::Arrow;
}

QPointF MoviePlayer::stagePointAt(const QRect &target, const QPointF &point) const
{
    const Rect &stage = movie_->header.frame;
    if (stage.isEmpty() || target.isEmpty())
        return {};
    const QPointF twips = StageToTarget(stage, target).inverted().map(point);
    return QPointF((twips.x() - stage.xMin) / kTwipsPerPixel, (twips.y() - stage.yMin) / kTwipsPerPixel);
}

}  // namespace swf
