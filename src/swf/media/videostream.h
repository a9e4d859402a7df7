#pragma once
// An embedded video (DefineVideoStream) and its frames (VideoFrame tags):
// the frames' data stays in the movie's body; a placed video shows the
// frame its placement's ratio names (or the last one before it), drawn
// like a bitmap of the stream's size with the placement's colour
// transform.
//
// Frames decode in their order. Moving on decodes the frames in between;
// going back, or jumping past a key frame, starts again from the nearest
// key frame before the target (AVC after the decoder set-up before that). Only the decoder's state and the last
// picture are kept, whatever the video's length. A frame that does not
// decode leaves the last good picture showing. The stream is shared by
// every player of the movie, so a mutex guards the decoding.

#include <QImage>
#include <memory>
#include <mutex>
#include <vector>

#include "swf/characters/character.h"
#include "swf/characters/definetags.h"
#include "swf/media/videodecoder.h"

namespace swf {

class VideoStreamCharacter : public Character {
public:
    VideoStreamCharacter(uint16_t id, int width, int height, uint8_t flags, VideoCodec codec);
    ~VideoStreamCharacter() override;

    // Loading thread only: a VideoFrame of this stream. A frame number
    // already there keeps its first data.
    void addFrame(uint16_t number, const uint8_t *data, size_t size);
    size_t frameCount() const { return frames_.size(); }

    // The picture for `ratio` (premultiplied ARGB of the stream's size);
    // null while nothing has decoded.
    QImage picture(uint16_t ratio) const;

    void render(RenderContext &ctx, const Matrix &toStage, const ColorTransform &cx, uint16_t ratio) const override;
    QPainterPath outline(uint16_t ratio) const override;
    Rect bounds() const override;

private:
    struct Frame {
        uint16_t number = 0;
        const uint8_t *data = nullptr;
        size_t size = 0;
        bool key = false;
        bool setup = false;  // AVC's decoder set-up, no picture
    };

    int frameIndexFor(uint16_t ratio) const;
    int startingPointFor(int target) const;
    // Makes the decoder ready to start again at frame `start`.
    void restartAt(int start) const;
    QImage fitted(const QImage &decoded) const;

    int width_, height_;
    int deblocking_;
    bool smoothing_;
    VideoCodec codec_;
    std::vector<Frame> frames_;  // by number
    int avcLengthSize_ = AvcPacket::kDefaultLengthSize;  // as the last set-up read states

    mutable std::mutex mutex_;
    mutable std::unique_ptr<VideoDecoder> decoder_;
    mutable int decodedIndex_ = -1;
    mutable QImage picture_;
};

void DefineVideoStreamTag(Tag tag, DefineContext &ctx);  // 60
void VideoFrameTag(Tag tag, DefineContext &ctx);         // 61

}  // namespace swf
