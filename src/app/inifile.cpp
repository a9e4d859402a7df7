#include "app/inifile.h"

#include "platform/atomicsave.h"

#include <QFile>
#include <QList>

#include <utility>

namespace {

// The file as lines that keep their own terminators, so that untouched
// lines go back exactly as they came.
using Lines = QList<QByteArray>;

Lines SplitLines(const QByteArray &content)
{
    Lines lines;
    qsizetype start = 0;
    while (start < content.size()) {
        qsizetype end = content.indexOf('\n', start);
        end = end < 0 ? content.size() : end + 1;
        lines.append(content.mid(start, end - start));
        start = end;
    }
    return lines;
}

// New lines follow the file's own convention; a new file gets "\n".
QByteArray LineEndOf(const QByteArray &content)
{
    const qsizetype newline = content.indexOf('\n');
    return newline > 0 && content.at(newline - 1) == '\r' ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\n");
}

bool HasTerminator(const QByteArray &line) { return line.endsWith('\n'); }

QByteArray TerminatorOf(const QByteArray &line, const QByteArray &fallback)
{
    if (line.endsWith("\r\n"))
        return QByteArrayLiteral("\r\n");
    return HasTerminator(line) ? QByteArrayLiteral("\n") : fallback;
}

QString TextOf(const QByteArray &line) { return QString::fromUtf8(line).trimmed(); }

bool SameName(const QString &a, const QString &b) { return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0; }

bool ParseSectionHeader(const QString &text, QString *name)
{
    if (!text.startsWith(QLatin1Char('[')))
        return false;
    const qsizetype close = text.indexOf(QLatin1Char(']'));
    *name = text.mid(1, close < 0 ? -1 : close - 1).trimmed();
    return true;
}

bool ParseKeyLine(const QString &text, QString *key, QString *value)
{
    if (text.startsWith(QLatin1Char(';')))
        return false;
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    if (equals < 0)
        return false;
    *key = text.left(equals).trimmed();
    *value = text.mid(equals + 1).trimmed();
    return true;
}

// Where a section and a key were found: the first section of that name
// counts, and within it the first line holding the key.
struct Location {
    qsizetype sectionLine = -1;
    qsizetype lastContentLine = -1; // last non-blank line of the section
    qsizetype keyLine = -1;
    QString keyName;
    QString value;
};

Location Find(const Lines &lines, const QString &section, const QString &key)
{
    Location found;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString text = TextOf(lines.at(i));
        QString name, value;
        if (ParseSectionHeader(text, &name)) {
            if (found.sectionLine >= 0)
                break;
            if (SameName(name, section))
                found.sectionLine = found.lastContentLine = i;
            continue;
        }
        if (found.sectionLine < 0 || text.isEmpty())
            continue;
        found.lastContentLine = i;
        if (found.keyLine < 0 && ParseKeyLine(text, &name, &value) && SameName(name, key)) {
            found.keyLine = i;
            found.keyName = name;
            found.value = value;
        }
    }
    return found;
}

QString UnquotedValue(const QString &value)
{
    if (value.size() >= 2 && value.front() == value.back()
        && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')))
        return value.mid(1, value.size() - 2);
    return value;
}

bool HasLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

// A name or value that would split or disguise a line would corrupt the
// file for every later read, so it is refused before anything is written.
void CheckWritable(const QString &section, const QString &key, const QString &value)
{
    const QString trimmedKey = key.trimmed();
    if (section.trimmed().isEmpty() || HasLineBreak(section) || section.contains(QLatin1Char(']')))
        throw EIniError("Invalid settings section name \"" + section.toStdString() + "\".");
    if (trimmedKey.isEmpty() || HasLineBreak(key) || key.contains(QLatin1Char('='))
        || trimmedKey.startsWith(QLatin1Char('[')) || trimmedKey.startsWith(QLatin1Char(';')))
        throw EIniError("Invalid settings key name \"" + key.toStdString() + "\".");
    if (HasLineBreak(value))
        throw EIniError("The value of the setting \"" + key.toStdString() + "\" contains a line break.");
}

[[noreturn]] void ThrowFileError(const QString &what, const QString &path, const QString &reason)
{
    throw EIniError(QStringLiteral("%1 the settings file \"%2\": %3.").arg(what, path, reason).toStdString());
}

// The whole file; empty when it does not exist. `readable` is false when
// it exists but cannot be read.
QByteArray ReadContent(const QString &path, bool *readable, QString *reason)
{
    QFile file(path);
    *readable = true;
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly)) {
        *readable = false;
        *reason = file.errorString();
        return {};
    }
    QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *readable = false;
        *reason = file.errorString();
    }
    return content;
}

void SaveReplacing(const QString &path, const QByteArray &content)
{
    if (const std::optional<SaveFailure> failure = SaveAtomically(path, content))
        ThrowFileError(failure->created ? QStringLiteral("Cannot write") : QStringLiteral("Cannot create"), path,
                       failure->reason);
}

// Makes sure the line at `index` ends with a line break before another
// line is put after it.
void Terminate(Lines &lines, qsizetype index, const QByteArray &eol)
{
    if (index >= 0 && !HasTerminator(lines[index]))
        lines[index] += eol;
}

} // namespace

IniFile::IniFile(QString path) : m_path(std::move(path)) {}

QString IniFile::readString(const QString &section, const QString &key, const QString &defaultValue) const
{
    bool readable = true;
    QString reason;
    const Location found = Find(SplitLines(ReadContent(m_path, &readable, &reason)), section, key);
    return found.keyLine < 0 ? defaultValue : UnquotedValue(found.value);
}

int IniFile::readInteger(const QString &section, const QString &key, int defaultValue) const
{
    bool ok = false;
    const int value = readString(section, key, QString()).toInt(&ok, 10);
    return ok ? value : defaultValue;
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    CheckWritable(section, key, value);
    bool readable = true;
    QString reason;
    const QByteArray content = ReadContent(m_path, &readable, &reason);
    // Writing without the old content would drop every other setting.
    if (!readable)
        ThrowFileError(QStringLiteral("Cannot read"), m_path, reason);

    Lines lines = SplitLines(content);
    const QByteArray eol = LineEndOf(content);
    const Location found = Find(lines, section, key);
    if (found.keyLine >= 0) {
        const QByteArray &old = lines.at(found.keyLine);
        lines[found.keyLine] = found.keyName.toUtf8() + '=' + value.toUtf8() + TerminatorOf(old, QByteArray());
    } else {
        const QByteArray entry = key.trimmed().toUtf8() + '=' + value.toUtf8() + eol;
        if (found.sectionLine >= 0) {
            Terminate(lines, found.lastContentLine, eol);
            lines.insert(found.lastContentLine + 1, entry);
        } else {
            Terminate(lines, lines.size() - 1, eol);
            lines.append('[' + section.trimmed().toUtf8() + ']' + eol);
            lines.append(entry);
        }
    }
    SaveReplacing(m_path, lines.join());
}

void IniFile::writeInteger(const QString &section, const QString &key, int value)
{
    writeString(section, key, QString::number(value));
}
