#include "desktop/xscreensaverfile.h"

#include <QList>

namespace {

const QByteArray kContinued = QByteArrayLiteral("\\");

bool IsResource(const QByteArray &line, const char *name)
{
    return line.trimmed().startsWith(QByteArray(name) + ':');
}

qsizetype FindResource(const QList<QByteArray> &lines, const char *name)
{
    for (qsizetype at = 0; at < lines.size(); ++at)
        if (IsResource(lines.at(at), name))
            return at;
    return -1;
}

// Sets a one-line resource, or adds it before the last (empty) line.
void SetResource(QList<QByteArray> &lines, const char *name, const QByteArray &value)
{
    const QByteArray line = QByteArray(name) + ":\t\t" + value;
    const qsizetype at = FindResource(lines, name);
    if (at >= 0)
        lines[at] = line;
    else
        lines.insert(lines.isEmpty() || !lines.last().isEmpty() ? lines.size() : lines.size() - 1, line);
}

QByteArray WithMark(QByteArray line, bool continued)
{
    while (line.endsWith(kContinued))
        line.chop(1);
    return continued ? line + kContinued : line;
}

// The program list: the entry lines that follow "programs:" while the line
// before ends with a continuation mark.
void PutFirstInPrograms(QList<QByteArray> &lines, const QByteArray &entry, const QByteArray &command)
{
    qsizetype header = FindResource(lines, "programs");
    if (header < 0) {
        SetResource(lines, "programs", QByteArray());
        header = FindResource(lines, "programs");
    }
    qsizetype end = header + 1;
    while (end < lines.size() && lines.at(end - 1).endsWith(kContinued))
        ++end;
    QList<QByteArray> entries;
    for (qsizetype at = header + 1; at < end; ++at)
        if (!lines.at(at).contains(command))
            entries << lines.at(at);
    entries.prepend(entry);
    for (qsizetype at = 0; at < entries.size(); ++at)
        entries[at] = WithMark(entries.at(at), at + 1 < entries.size());
    lines[header] = WithMark(lines.at(header), true);
    lines.remove(header + 1, end - header - 1);
    for (qsizetype at = 0; at < entries.size(); ++at)
        lines.insert(header + 1 + at, entries.at(at));
}

}  // namespace

QByteArray WithScreenSaverSelected(const QByteArray &file, const QString &command)
{
    QList<QByteArray> lines = file.split('\n');
    const QByteArray commandBytes = command.toUtf8();
    PutFirstInPrograms(lines, "\t\t\t\t\"Pavoko\"  " + commandBytes + " -root \\n", commandBytes);
    SetResource(lines, "selected", "0");
    SetResource(lines, "mode", "one");
    return lines.join('\n');
}
