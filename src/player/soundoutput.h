#pragma once
// Plays one movie player's mixed sound through the default sound device.
// The device, the audio sink and the mixing all live on a thread of their
// own, so a slow frame on the interface thread never makes the sound
// stutter, and looking for a device never holds the interface up. Without
// a device (or with PAVOKO_NO_SOUND set in the environment, as the tests
// set it) the output stays silent and says nothing.
//
// Destroying the output stops the sound at once: the mixer is silenced
// first, then the sink is stopped and its thread ended. Created and
// destroyed on the interface thread by the player control that owns it.

#include <QObject>
#include <QThread>
#include <atomic>
#include <memory>

namespace swf {
class SoundMixer;
}

class QAudioSink;
class TMixerDevice;

class TSoundOutput : public QObject {
    Q_OBJECT
public:
    explicit TSoundOutput(std::shared_ptr<swf::SoundMixer> mixer, QObject *parent = nullptr);
    ~TSoundOutput() override;

    // Whether the process may open a sound device at all.
    static bool deviceAllowed();
    // True once a device plays the mixer's sound; until then (and for
    // ever without a device) the player's clock keeps its own time.
    bool isPlaying() const { return playing_; }

private:
    void openOnThread();
    void closeOnThread();

    std::shared_ptr<swf::SoundMixer> mixer_;
    QThread thread_;
    QObject *threadContext_ = nullptr;  // lives on thread_
    QAudioSink *sink_ = nullptr;        // thread_ only
    TMixerDevice *device_ = nullptr;    // thread_ only
    std::atomic<bool> playing_{false};
};
