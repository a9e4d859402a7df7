#include "swf/media/videostream.h"

#include <algorithm>

#include "swf/characters/bitmap.h"

namespace swf {

namespace {

// Larger streams are not decoded: no movie shows video this big, and a
// hostile header could otherwise ask for gigabytes of pictures.
constexpr int kLargestSide = 4096;

}  // namespace

VideoStreamCharacter::VideoStreamCharacter(uint16_t id, int width, int height, uint8_t flags, VideoCodec codec)
    : Character(id), width_(width), height_(height), deblocking_((flags >> 1) & 7), smoothing_(flags & 1),
      codec_(codec)
{
}

VideoStreamCharacter::~VideoStreamCharacter() = default;

void VideoStreamCharacter::addFrame(uint16_t number, const uint8_t *data, size_t size)
{
    const auto at = std::lower_bound(frames_.begin(), frames_.end(), number,
                                     [](const Frame &f, uint16_t n) { return f.number < n; });
    if (at != frames_.end() && at->number == number)
        return;
    Frame frame{number, data, size, IsVideoKeyFrame(codec_, data, size), false};
    if (codec_ == VideoCodec::Avc) {
        const AvcPacket packet(data, size, avcLengthSize_);
        frame.key = packet.key;
        frame.setup = packet.type == AvcPacket::Type::Setup;
        if (frame.setup)
            avcLengthSize_ = packet.lengthSize();
    }
    frames_.insert(at, frame);
}

int VideoStreamCharacter::frameIndexFor(uint16_t ratio) const
{
    const auto after = std::upper_bound(frames_.begin(), frames_.end(), ratio,
                                        [](uint16_t n, const Frame &f) { return n < f.number; });
    return int(after - frames_.begin()) - 1;
}

int VideoStreamCharacter::startingPointFor(int target) const
{
    int start = target;
    while (start > 0 && !frames_[size_t(start)].key)
        --start;
    return start;
}

void VideoStreamCharacter::restartAt(int start) const
{
    decoder_->restart();
    // Pictures need the set-up that came before them.
    for (int i = start - 1; i >= 0; --i) {
        if (frames_[size_t(i)].setup) {
            decoder_->decode(frames_[size_t(i)].data, frames_[size_t(i)].size);
            return;
        }
    }
}

QImage VideoStreamCharacter::fitted(const QImage &decoded) const
{
    // Codecs code whole blocks; what lies past the stream's size is padding.
    if (decoded.width() > width_ || decoded.height() > height_)
        return decoded.copy(0, 0, std::min(decoded.width(), width_), std::min(decoded.height(), height_));
    return decoded;
}

QImage VideoStreamCharacter::picture(uint16_t ratio) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    const int target = frameIndexFor(ratio);
    if (target < 0 || target == decodedIndex_ || width_ <= 0 || height_ <= 0 || width_ > kLargestSide
        || height_ > kLargestSide)
        return picture_;
    if (!decoder_)
        decoder_ = std::make_unique<VideoDecoder>(codec_, width_, height_, deblocking_);
    const int start = startingPointFor(target);
    int from = decodedIndex_ + 1;
    if (decodedIndex_ < start || decodedIndex_ > target) {
        restartAt(start);
        from = start;
    }
    bool pictured = false;
    for (int i = from; i <= target; ++i)
        pictured = decoder_->decode(frames_[size_t(i)].data, frames_[size_t(i)].size) || pictured;
    if (pictured) {
        const QImage decoded = decoder_->lastPicture();
        if (!decoded.isNull())
            picture_ = fitted(decoded);
    }
    decodedIndex_ = target;
    return picture_;
}

void VideoStreamCharacter::render(RenderContext &ctx, const Matrix &toStage, const ColorTransform &cx,
                                  uint16_t ratio) const
{
    DrawPictureCharacter(ctx, toStage, cx, picture(ratio), width_, height_, smoothing_ && ctx.smoothBitmaps());
}

QPainterPath VideoStreamCharacter::outline(uint16_t) const
{
    return PictureOutline(width_, height_);
}

Rect VideoStreamCharacter::bounds() const
{
    return PictureBounds(width_, height_);
}

void DefineVideoStreamTag(Tag tag, DefineContext &ctx)
{
    SwfReader &r = tag.body;
    const uint16_t id = r.u16();
    r.u16();  // frame count: the VideoFrame tags tell
    const int width = r.u16();
    const int height = r.u16();
    const uint8_t flags = r.u8();
    const auto codec = static_cast<VideoCodec>(r.u8());
    if (r.overrun() || !ctx.budget.reserve(sizeof(VideoStreamCharacter)))
        return;
    ctx.dictionary.add(std::make_shared<VideoStreamCharacter>(id, width, height, flags, codec));
}

void VideoFrameTag(Tag tag, DefineContext &ctx)
{
    SwfReader &r = tag.body;
    const uint16_t streamId = r.u16();
    const uint16_t number = r.u16();
    if (r.overrun())
        return;
    auto *stream = ctx.dictionary.findAs<VideoStreamCharacter>(streamId);
    if (stream && ctx.budget.reserve(sizeof(void *) * 4))
        stream->addFrame(number, r.current(), r.remaining());
}

}  // namespace swf
