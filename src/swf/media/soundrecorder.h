#pragma once
// Records what a mixer plays on a simulated clock: each frame the host
// shows adds one frame interval (1/rate seconds) of mixed sound, however
// long the frame took to make. swfrender's --audio and the tests use it to
// hear a movie without a sound device. One thread.

#include <QString>
#include <memory>
#include <vector>

namespace swf {

class SoundMixer;

class SoundRecorder {
public:
    // A movie that records no frame rate plays at 12 frames a second.
    SoundRecorder(std::shared_ptr<SoundMixer> mixer, double frameRate);

    // Mixes the sound of one more frame interval (nothing once twenty
    // minutes are recorded).
    void recordFrame();

    // Interleaved stereo at 44.1 kHz.
    const std::vector<int16_t> &samples() const { return samples_; }
    int64_t frameCount() const { return int64_t(samples_.size()) / 2; }

    // A 16-bit stereo WAV file at 44.1 kHz, written beside `path` and then
    // put in its place; false (and `path` untouched) when that fails.
    bool writeWav(const QString &path) const;

private:
    std::shared_ptr<SoundMixer> mixer_;
    double framesPerMovieFrame_;
    double owed_ = 0;  // fraction of a sample frame carried to the next frame
    std::vector<int16_t> samples_;
};

}  // namespace swf
