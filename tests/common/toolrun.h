#pragma once
// Runs one of the built helper programs (projector, screen saver) under
// the offscreen platform and asks it for a snapshot of what it shows.

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

struct TToolRun {
    int exitCode = -1;
    QString errorOutput;
    QImage snapshot;
};

inline TToolRun RunForSnapshot(const QString &program, const QStringList &arguments = {})
{
    QTemporaryDir folder;
    const QString picture = folder.filePath(QStringLiteral("snapshot.png"));
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    process.setProcessEnvironment(environment);
    process.start(program, arguments + QStringList{QStringLiteral("--snapshot"), picture});
    // A guard against a program that never ends, not a measurement.
    if (!process.waitForFinished(120000))
        process.kill();
    process.waitForFinished();
    TToolRun run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.errorOutput = QString::fromLocal8Bit(process.readAllStandardError());
    run.snapshot.load(picture);
    return run;
}
