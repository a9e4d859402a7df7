#pragma once
// The sound device's view of a movie's mixer: a read-only, endless
// sequential device whose bytes are the mixer's 44.1 kHz 16-bit stereo
// output, made as the audio sink asks for them; reads hand out whole
// frames only, so it is opened unbuffered. Lives on the sound
// output's thread (see TSoundOutput) and shares the mixer with the player.

#include <QIODevice>
#include <memory>
#include <vector>

namespace swf {
class SoundMixer;
}

class TMixerDevice : public QIODevice {
    Q_OBJECT
public:
    explicit TMixerDevice(std::shared_ptr<swf::SoundMixer> mixer, QObject *parent = nullptr);

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 maxSize) override;

private:
    std::shared_ptr<swf::SoundMixer> mixer_;
    std::vector<int16_t> buffer_;
};
