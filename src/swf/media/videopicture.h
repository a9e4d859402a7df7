#pragma once
// Turns one decoded FFmpeg video frame into a premultiplied ARGB picture:
// planar 4:2:0 YUV (with or without an alpha plane, whose colours come
// premultiplied; limited or full range, BT.601 as Flash video uses) and
// packed BGR or RGB. Any other format gives
// a null picture. Any thread.

#include <QImage>

struct AVFrame;

namespace swf {

QImage PictureFromVideoFrame(const AVFrame &frame);

}  // namespace swf
