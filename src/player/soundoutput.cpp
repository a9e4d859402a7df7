#include "player/soundoutput.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>

#include "player/mixerdevice.h"
#include "swf/media/soundmixer.h"

namespace {

// About a tenth of a second between the mixer and the loudspeaker: short
// enough for pictures to keep in step, long enough to ride out a busy
// moment of the machine.
constexpr int kBufferBytes = swf::PcmBuffer::kRate / 10 * swf::PcmBuffer::kChannels * 2;

}  // namespace

TSoundOutput::TSoundOutput(std::shared_ptr<swf::SoundMixer> mixer, QObject *parent)
    : QObject(parent), mixer_(std::move(mixer))
{
    if (!deviceAllowed() || !mixer_)
        return;
    threadContext_ = new QObject;
    threadContext_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, threadContext_, &QObject::deleteLater);
    thread_.setObjectName(QStringLiteral("sound output"));
    thread_.start();
    QMetaObject::invokeMethod(threadContext_, [this] { openOnThread(); });
}

TSoundOutput::~TSoundOutput()
{
    if (mixer_)
        mixer_->stopAll();
    if (!thread_.isRunning())
        return;
    QMetaObject::invokeMethod(threadContext_, [this] { closeOnThread(); }, Qt::BlockingQueuedConnection);
    thread_.quit();
    thread_.wait();
}

bool TSoundOutput::deviceAllowed()
{
    return qEnvironmentVariableIsEmpty("PAVOKO_NO_SOUND");
}

void TSoundOutput::openOnThread()
{
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return;
    QAudioFormat format;
    format.setSampleRate(swf::PcmBuffer::kRate);
    format.setChannelCount(swf::PcmBuffer::kChannels);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format))
        return;
    device_ = new TMixerDevice(mixer_, threadContext_);
    device_->open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    sink_ = new QAudioSink(device, format, threadContext_);
    sink_->setBufferSize(kBufferBytes);
    sink_->start(device_);
    playing_ = sink_->error() == QAudio::NoError;
}

void TSoundOutput::closeOnThread()
{
    playing_ = false;
    if (sink_)
        sink_->stop();
    delete sink_;
    delete device_;
    sink_ = nullptr;
    device_ = nullptr;
}
