#pragma once
// One INI text file at a given path, read and written one value per call:
// every call opens the file, does its work and closes it again, so nothing
// is cached between calls. Section and key names match without regard to
// letter case (and to blanks around them); every line the call does not
// change is written back byte for byte. A write replaces the file through
// a temporary file and a rename, so a crash or a full disk during the
// write leaves the previous file as it was. Not thread-safe: one thread
// (the interface thread) at a time.

#include <QString>
#include <stdexcept>

// A settings write that could not be carried out; the text says why.
class EIniError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class IniFile {
public:
    explicit IniFile(QString path);

    const QString &path() const { return m_path; }

    // The value with blanks around it removed (and one pair of matching
    // quotes around it); `defaultValue` when the file, the section or the
    // key is missing.
    QString readString(const QString &section, const QString &key, const QString &defaultValue) const;
    // A decimal 32-bit integer; `defaultValue` when the value is missing,
    // not a number or out of range.
    int readInteger(const QString &section, const QString &key, int defaultValue) const;

    // Stores the value, creating the file, the section (under the name
    // given) or the key as needed. Raises EIniError when the file cannot be
    // read or replaced, or when a name or value would break the file's
    // line structure.
    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInteger(const QString &section, const QString &key, int value);

private:
    QString m_path;
};
