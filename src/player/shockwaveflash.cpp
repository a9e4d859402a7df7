#include "player/shockwaveflash.h"

#include <QClipboard>
#include <QGuiApplication>

#include <QContextMenuEvent>
#include <QDateTime>
#include <QDesktopServices>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "player/flashkeys.h"
#include "platform/datafolder.h"
#include "player/soundoutput.h"
#include "swf/movie.h"

namespace {

// A movie that records no rate gets the rate most authoring tools default to.
constexpr double kRateForZero = 12.0;
// Faster clocks only burn the processor: no screen shows more.
constexpr double kHighestRate = 120.0;
// A stream sound further from the picture than this many frames is not
// running along with it (stalled, or not started yet); the clock keeps its
// own time then.
constexpr int kMostSoundDrift = 8;

const QColor kEmptyStageColor = Qt::white;

// Scripts in a player on the desktop see the desktop's time and zone.
swf::DateClock DesktopDateClock()
{
    const QDateTime now = QDateTime::currentDateTime();
    return {double(now.toMSecsSinceEpoch()), now.offsetFromUtc() / 60};
}

}  // namespace

TShockwaveFlash::TShockwaveFlash(QWidget *parent) : QWidget(parent), clock_(new QTimer(this))
{
    clock_->setTimerType(Qt::PreciseTimer);
    clock_->setSingleShot(true);
    connect(clock_, &QTimer::timeout, this, &TShockwaveFlash::tick);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    setMouseTracking(true);
}

TShockwaveFlash::~TShockwaveFlash() = default;

void TShockwaveFlash::setScaleMode(int mode)
{
    if (mode != ScaleShowAll)
        throw std::runtime_error("Unsupported scale mode " + std::to_string(mode));
    scaleMode_ = mode;
}

void TShockwaveFlash::setMovie(const QString &path)
{
    setMovieShared(path, swf::LoadMovie(path));
}

void TShockwaveFlash::setMovieShared(const QString &path, std::shared_ptr<const swf::MovieDefinition> movie)
{
    unload();
    moviePath_ = path;
    movie_ = std::move(movie);
    if (movie_) {
        player_ = std::make_unique<swf::MoviePlayer>(movie_, nullptr, SharedObjectsFolder(), DesktopDateClock());
        // The engine lets only web addresses a person's click asked for through.
        player_->setUrlHandler([](const QString &url) { QDesktopServices::openUrl(QUrl(url)); });
        player_->setPlaying(false);
    }
    updateSound();
    updateClock();
    showInputResult();
}

TShockwaveFlash::TRunningMovie::TRunningMovie() = default;
TShockwaveFlash::TRunningMovie::TRunningMovie(TRunningMovie &&) noexcept = default;
TShockwaveFlash::TRunningMovie &TShockwaveFlash::TRunningMovie::operator=(TRunningMovie &&) noexcept = default;
TShockwaveFlash::TRunningMovie::~TRunningMovie() = default;

TShockwaveFlash::TRunningMovie TShockwaveFlash::takeRunningMovie()
{
    TRunningMovie running;
    running.path = moviePath_;
    running.movie = std::move(movie_);
    running.player = std::move(player_);
    running.sound = std::move(sound_);
    running.running = running_;
    unload();
    moviePath_.clear();
    updateClock();
    return running;
}

void TShockwaveFlash::adoptRunningMovie(TRunningMovie running)
{
    unload();
    moviePath_ = std::move(running.path);
    movie_ = std::move(running.movie);
    player_ = std::move(running.player);
    sound_ = std::move(running.sound);
    running_ = running.running && player_;
    updateSound();
    updateClock();
    showInputResult();
}

void TShockwaveFlash::unload()
{
    running_ = false;
    clockPhase_ = 0;
    sound_.reset();
    player_.reset();
    movie_.reset();
}

bool TShockwaveFlash::Playing() const
{
    return running_ && player_ && player_->isPlaying();
}

int TShockwaveFlash::TotalFrames() const
{
    return player_ ? player_->frameCount() : 0;
}

int TShockwaveFlash::CurrentFrame() const
{
    return player_ ? player_->currentFrame() : 0;
}

void TShockwaveFlash::GotoFrame(int frame)
{
    if (!player_)
        return;
    const bool wasPlaying = player_->isPlaying();
    player_->gotoFrame(std::clamp(frame, 0, player_->frameCount() - 1));
    // The frame's own actions may stop a running movie, but going to a
    // frame never starts one the host has paused.
    if (!wasPlaying)
        player_->setPlaying(false);
    update();
}

void TShockwaveFlash::Play()
{
    if (!player_)
        return;
    // A movie that ran to its end without looping starts over.
    if (!loop_ && !player_->isPlaying() && player_->currentFrame() == player_->frameCount() - 1)
        player_->gotoFrame(0);
    running_ = true;
    player_->setPlaying(true);
    updateSound();
    if (!clock_->isActive())
        updateClock();
}

void TShockwaveFlash::Stop()
{
    running_ = false;
    if (player_)
        player_->setPlaying(false);
    updateSound();
    updateClock();
}

void TShockwaveFlash::Back()
{
    Stop();
    GotoFrame(CurrentFrame() - 1);
}

void TShockwaveFlash::Forward()
{
    Stop();
    GotoFrame(CurrentFrame() + 1);
}

void TShockwaveFlash::Rewind()
{
    GotoFrame(0);
}

void TShockwaveFlash::setQuality(int quality)
{
    if (quality != QualityLow && quality != QualityHigh && quality != QualityMiddling)
        throw std::runtime_error("Invalid quality " + std::to_string(quality));
    quality_ = quality;
    update();
}

void TShockwaveFlash::setLoop(bool loop)
{
    loop_ = loop;
}

void TShockwaveFlash::setSoundOn(bool on)
{
    soundOn_ = on;
    updateSound();
}

void TShockwaveFlash::updateSound()
{
    if (!player_ || !soundOn_ || !TSoundOutput::deviceAllowed()) {
        sound_.reset();
        if (player_)
            player_->setSoundEnabled(false);
        return;
    }
    if (!sound_)
        sound_ = std::make_unique<TSoundOutput>(player_->soundMixer());
    player_->setSoundEnabled(running_);
}

int TShockwaveFlash::framesDueNow() const
{
    int behind = 0;
    if (!sound_ || !sound_->isPlaying() || !player_->framesBehindSound(behind) || std::abs(behind) > kMostSoundDrift)
        return 1;
    return std::max(0, behind);
}

swf::Quality TShockwaveFlash::engineQuality() const
{
    switch (quality_) {
    case QualityLow:
        return swf::Quality::Low;
    case QualityMiddling:
        return swf::Quality::Medium;
    default:
        return swf::Quality::High;
    }
}

void TShockwaveFlash::PaintTo(QPainter &painter, int x, int y) const
{
    if (!painter.isActive())
        throw std::runtime_error("Cannot paint the movie: the painter is not active");
    const QRect target(x, y, width(), height());
    if (!player_) {
        painter.fillRect(target, kEmptyStageColor);
        return;
    }
    painter.save();
    player_->render(painter, target, engineQuality());
    painter.restore();
}

void TShockwaveFlash::tick()
{
    if (!player_)
        return;
    player_->setDateClock(DesktopDateClock());
    for (int due = framesDueNow(); due > 0; --due)
        player_->advance(loop_);
    // A button may have come under the resting pointer, or gone.
    showInputResult();
    updateClock();
}

double TShockwaveFlash::framePeriod() const
{
    double rate = player_ ? player_->header().frameRate : 0.0;
    if (!(rate > 0.0))  // also catches NaN
        rate = kRateForZero;
    return 1000.0 / std::min(rate, kHighestRate);
}

void TShockwaveFlash::updateClock()
{
    if (!running_ || !player_) {
        clock_->stop();
        return;
    }
    // Whole milliseconds per tick, carrying the fraction over, so that a
    // movie of 24 or 12.5 frames a second keeps its rate on average.
    clockPhase_ += std::min(framePeriod(), double(std::numeric_limits<int>::max()));
    const double whole = std::floor(clockPhase_);
    clockPhase_ -= whole;
    clock_->start(int(whole));
}

void TShockwaveFlash::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    PaintTo(painter);
}

QPointF TShockwaveFlash::stagePoint(const QPointF &controlPoint) const
{
    return player_->stagePointAt(rect(), controlPoint);
}

void TShockwaveFlash::showInputResult()
{
    if (player_ && player_->cursor() == swf::MouseCursor::Hand)
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
    update();
}

void TShockwaveFlash::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (player_ && event->button() == Qt::LeftButton) {
        player_->mouseDown(stagePoint(event->position()));
        showInputResult();
    }
}

void TShockwaveFlash::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (player_ && event->button() == Qt::LeftButton) {
        player_->mouseUp(stagePoint(event->position()));
        showInputResult();
    }
}

void TShockwaveFlash::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    if (player_) {
        player_->mouseMove(stagePoint(event->position()));
        showInputResult();
    }
}

void TShockwaveFlash::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    if (player_) {
        player_->mouseMove(stagePoint(event->position()));
        showInputResult();
    }
}

void TShockwaveFlash::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    if (player_) {
        player_->mouseLeave();
        showInputResult();
    }
}

void TShockwaveFlash::keyPressEvent(QKeyEvent *event)
{
    if (player_) {
        const TFlashKey key = FlashKeyOf(*event);
        player_->keyDown(key.code, key.character);
        typeIntoField(*event);
        showInputResult();
        // Tab belongs to the movie: passed on, a parent would move the
        // focus out of the control with it.
        if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
            event->accept();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

// What a key types or edits in the movie's focused text field; the
// movie's copy and paste go through the desktop's clipboard.
void TShockwaveFlash::typeIntoField(const QKeyEvent &event)
{
    if (const std::optional<swf::TextControl> control = TextControlOf(event)) {
        if (*control == swf::TextControl::Paste)
            player_->setClipboardText(QGuiApplication::clipboard()->text());
        player_->textControl(*control);
        if (*control == swf::TextControl::Copy || *control == swf::TextControl::Cut)
            QGuiApplication::clipboard()->setText(player_->clipboardText());
        return;
    }
    const QString typed = event.text();
    if (!typed.isEmpty() && typed.at(0).isPrint())
        player_->textInput(typed);
}

void TShockwaveFlash::keyReleaseEvent(QKeyEvent *event)
{
    if (player_ && !event->isAutoRepeat()) {
        const TFlashKey key = FlashKeyOf(*event);
        player_->keyUp(key.code, key.character);
        showInputResult();
    }
    QWidget::keyReleaseEvent(event);
}

bool TShockwaveFlash::focusNextPrevChild(bool next)
{
    return player_ ? false : QWidget::focusNextPrevChild(next);
}

void TShockwaveFlash::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    if (player_) {
        player_->keyboardLost();
        showInputResult();
    }
}

void TShockwaveFlash::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
}

void TShockwaveFlash::contextMenuEvent(QContextMenuEvent *event)
{
    event->accept();
}
