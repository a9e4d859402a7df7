#pragma once
// A typed key/value store standing in for the per-user part of the Windows
// registry. One text file, one section per key ("[Control Panel\desktop]"),
// one line per value in the registry export notation:
//   "Wallpaper"="/path/to/picture.bmp"
//   "TileWallpaper"=dword:00000000
// so that string (REG_SZ) and 32-bit integer (REG_DWORD) values keep their
// type. Key and value names match without regard to letter case, as in the
// registry. Every call reads the file anew; a write replaces the file
// atomically and keeps every other line as it was. No state is held, so
// any number of stores may point at the same file; interface thread only
// (no locking between processes).

#include <QString>
#include <cstdint>
#include <optional>

enum class RegistryType { String, DWord };

struct RegistryValue {
    RegistryType type = RegistryType::String;
    QString text;          // String values
    uint32_t number = 0;   // DWord values

    bool operator==(const RegistryValue &other) const
    {
        return type == other.type && text == other.text && number == other.number;
    }
};

// The store file of the data folder: WindowsDirectory() + "registry.ini".
QString DefaultRegistryFile();

class TRegistryStore {
public:
    explicit TRegistryStore(QString filePath = DefaultRegistryFile());

    const QString &filePath() const { return filePath_; }

    // The value, or nothing when the file, the key or the value is missing
    // or the value's line cannot be read.
    std::optional<RegistryValue> ReadValue(const QString &key, const QString &name) const;

    // Store one value, creating the key when needed. Throw
    // std::runtime_error when the file cannot be written; the file is then
    // unchanged.
    void WriteString(const QString &key, const QString &name, const QString &value);
    void WriteDWord(const QString &key, const QString &name, uint32_t value);

private:
    void WriteValue(const QString &key, const QString &name, const RegistryValue &value);

    QString filePath_;
};
