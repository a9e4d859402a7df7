#pragma once
// A desktop sandbox for tests: HOME, XDG_DATA_HOME, XDG_CONFIG_HOME and
// PATH point into a temporary folder (PATH at an empty "bin" folder, so no
// desktop tool is found unless a test puts a fake one there) and
// XDG_CURRENT_DESKTOP is cleared. Everything is restored when the sandbox goes. Also small file
// helpers for the tests that use it.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <map>

inline QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

inline void WriteFileBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
}

class SandboxDesktop {
public:
    SandboxDesktop()
    {
        for (const char *name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "PATH", "XDG_CURRENT_DESKTOP"})
            saved_[name] = qgetenv(name);
        QDir().mkpath(home());
        QDir().mkpath(binFolder());
        qputenv("HOME", home().toUtf8());
        qputenv("XDG_DATA_HOME", (root_.path() + QStringLiteral("/data")).toUtf8());
        qputenv("XDG_CONFIG_HOME", (root_.path() + QStringLiteral("/config")).toUtf8());
        qputenv("PATH", binFolder().toUtf8());
        qunsetenv("XDG_CURRENT_DESKTOP");
    }
    ~SandboxDesktop()
    {
        for (const auto &[name, value] : saved_) {
            if (value.isNull())
                qunsetenv(name.c_str());
            else
                qputenv(name.c_str(), value);
        }
    }
    SandboxDesktop(const SandboxDesktop &) = delete;
    SandboxDesktop &operator=(const SandboxDesktop &) = delete;

    QString root() const { return root_.path() + QLatin1Char('/'); }
    QString home() const { return root() + QStringLiteral("home"); }
    QString binFolder() const { return root() + QStringLiteral("bin"); }
    QString dataFolder() const { return root() + QStringLiteral("data/pavoko/"); }
    QString configFolder() const { return root() + QStringLiteral("config/pavoko/"); }

    // A fake tool on PATH that appends its arguments, one line per call,
    // to `logPath`.
    void addRecordingTool(const QString &name, const QString &logPath) const
    {
        QFile tool(binFolder() + QLatin1Char('/') + name);
        tool.open(QIODevice::WriteOnly);
        tool.write("#!/bin/sh\necho \"$*\" >> '" + logPath.toUtf8() + "'\n");
        tool.close();
        tool.setPermissions(tool.permissions() | QFileDevice::ExeOwner);
    }

private:
    QTemporaryDir root_;
    std::map<std::string, QByteArray> saved_;
};
