#include "platform/registrystore.h"

#include <QFile>
#include <QStringList>
#include <stdexcept>

#include "platform/atomicsave.h"
#include "platform/datafolder.h"

namespace {

const QString kDWordPrefix = QStringLiteral("dword:");

QString Quoted(const QString &text)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\': out += QStringLiteral("\\\\"); break;
        case '"': out += QStringLiteral("\\\""); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        default: out += c;
        }
    }
    return out + QLatin1Char('"');
}

// Decodes the quoted text starting at line[pos] and moves pos past its
// closing quote; nothing when the text is not a complete quoted string.
std::optional<QString> ReadQuoted(const QString &line, int &pos)
{
    if (pos >= line.size() || line[pos] != QLatin1Char('"'))
        return std::nullopt;
    QString out;
    for (++pos; pos < line.size(); ++pos) {
        const QChar c = line[pos];
        if (c == QLatin1Char('"')) {
            ++pos;
            return out;
        }
        if (c != QLatin1Char('\\')) {
            out += c;
            continue;
        }
        if (++pos >= line.size())
            return std::nullopt;
        const QChar escaped = line[pos];
        out += escaped == QLatin1Char('n') ? QChar('\n') : escaped == QLatin1Char('r') ? QChar('\r') : escaped;
    }
    return std::nullopt;
}

std::optional<RegistryValue> ParseData(const QString &data)
{
    if (data.startsWith(kDWordPrefix)) {
        bool ok = false;
        const QString digits = data.mid(kDWordPrefix.size());
        const uint32_t number = digits.toUInt(&ok, 16);
        if (!ok || digits.size() != 8)
            return std::nullopt;
        return RegistryValue{RegistryType::DWord, QString(), number};
    }
    int pos = 0;
    const std::optional<QString> text = ReadQuoted(data, pos);
    if (!text || pos != data.size())
        return std::nullopt;
    return RegistryValue{RegistryType::String, *text, 0};
}

QString FormatData(const RegistryValue &value)
{
    if (value.type == RegistryType::DWord)
        return kDWordPrefix + QStringLiteral("%1").arg(value.number, 8, 16, QLatin1Char('0'));
    return Quoted(value.text);
}

// The value name of a value line, or nothing for any other line.
std::optional<QString> ValueName(const QString &line, int *dataStart = nullptr)
{
    int pos = 0;
    std::optional<QString> name = ReadQuoted(line, pos);
    if (!name || pos >= line.size() || line[pos] != QLatin1Char('='))
        return std::nullopt;
    if (dataStart)
        *dataStart = pos + 1;
    return name;
}

bool IsSectionLine(const QString &line)
{
    const QString trimmed = line.trimmed();
    return trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']'));
}

bool IsSection(const QString &line, const QString &key)
{
    const QString trimmed = line.trimmed();
    return IsSectionLine(line) && trimmed.mid(1, trimmed.size() - 2).compare(key, Qt::CaseInsensitive) == 0;
}

// The file's lines, without line ends; empty when there is no file,
// nothing when a file exists that cannot be read.
std::optional<QStringList> ReadLines(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return QStringList();
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (QString &line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// Lines [begin, end) of the section for `key`; begin == end == -1 when the
// key is missing.
std::pair<int, int> SectionRange(const QStringList &lines, const QString &key)
{
    for (int i = 0; i < lines.size(); ++i) {
        if (!IsSection(lines[i], key))
            continue;
        int end = i + 1;
        while (end < lines.size() && !IsSectionLine(lines[end]))
            ++end;
        return {i + 1, end};
    }
    return {-1, -1};
}

int FindValueLine(const QStringList &lines, std::pair<int, int> section, const QString &name)
{
    for (int i = section.first; i < section.second; ++i) {
        const std::optional<QString> lineName = ValueName(lines[i]);
        if (lineName && lineName->compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void SetValueLine(QStringList &lines, const QString &key, const QString &valueLine, const QString &name)
{
    std::pair<int, int> section = SectionRange(lines, key);
    if (section.first < 0) {
        if (!lines.isEmpty() && !lines.last().isEmpty())
            lines.append(QString());
        lines.append(QLatin1Char('[') + key + QLatin1Char(']'));
        lines.append(valueLine);
        return;
    }
    const int existing = FindValueLine(lines, section, name);
    if (existing >= 0) {
        lines[existing] = valueLine;
        return;
    }
    int insertAt = section.second;
    while (insertAt > section.first && lines[insertAt - 1].trimmed().isEmpty())
        --insertAt;
    lines.insert(insertAt, valueLine);
}

void WriteLines(const QString &path, const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toUtf8() + '\n';
    if (const std::optional<SaveFailure> failure = SaveAtomically(path, bytes))
        throw std::runtime_error("Cannot write the registry store " + path.toStdString() + ": " +
                                 failure->reason.toStdString());
}

}  // namespace

QString DefaultRegistryFile() { return WindowsDirectory() + QStringLiteral("registry.ini"); }

TRegistryStore::TRegistryStore(QString filePath) : filePath_(std::move(filePath)) {}

std::optional<RegistryValue> TRegistryStore::ReadValue(const QString &key, const QString &name) const
{
    const QStringList lines = ReadLines(filePath_).value_or(QStringList());
    const int index = FindValueLine(lines, SectionRange(lines, key), name);
    if (index < 0)
        return std::nullopt;
    int dataStart = 0;
    ValueName(lines[index], &dataStart);
    return ParseData(lines[index].mid(dataStart));
}

void TRegistryStore::WriteString(const QString &key, const QString &name, const QString &value)
{
    WriteValue(key, name, RegistryValue{RegistryType::String, value, 0});
}

void TRegistryStore::WriteDWord(const QString &key, const QString &name, uint32_t value)
{
    WriteValue(key, name, RegistryValue{RegistryType::DWord, QString(), value});
}

void TRegistryStore::WriteValue(const QString &key, const QString &name, const RegistryValue &value)
{
    std::optional<QStringList> lines = ReadLines(filePath_);
    if (!lines)
        throw std::runtime_error("Cannot read the registry store " + filePath_.toStdString());
    SetValueLine(*lines, key, Quoted(name) + QLatin1Char('=') + FormatData(value), name);
    WriteLines(filePath_, *lines);
}
