#include "search/searchwalk.h"

#include "platform/listingorder.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>

namespace {

struct TEntry {
    QString name;
    unsigned char type;
};

// The entries of a folder but "." and "..", in listing order; none when
// it cannot be read.
std::vector<TEntry> ListFolder(const QString &folder)
{
    std::vector<TEntry> entries;
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return entries;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            entries.push_back({QFile::decodeName(name), entry->d_type});
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(),
              [](const TEntry &a, const TEntry &b) { return ListingOrderLess(a.name, b.name); });
    return entries;
}

bool StatOf(const QString &path, struct stat &info)
{
    return ::stat(QFile::encodeName(path).constData(), &info) == 0;
}

// Whether an entry is a folder, following links; the listing's type
// spares a look at the entry itself where it is known.
bool IsFolder(const QString &path, unsigned char type)
{
    if (type != DT_LNK && type != DT_UNKNOWN)
        return type == DT_DIR;
    struct stat info {};
    return StatOf(path, info) && S_ISDIR(info.st_mode);
}

} // namespace

TSearchWalk::TSearchWalk(TSearchCriteria criteria, TWalkRules rules, TWalkHooks hooks)
    : criteria_(std::move(criteria)), rules_(std::move(rules)), hooks_(std::move(hooks))
{
}

bool TSearchWalk::SearchFolder(const QString &folder)
{
    QString root = QDir::cleanPath(folder);
    if (!root.endsWith(QLatin1Char('/')))
        root += QLatin1Char('/');
    struct stat info {};
    if (!StatOf(root, info) || !S_ISDIR(info.st_mode) || !entered_.insert({info.st_dev, info.st_ino}).second)
        return true;
    return walk(root, info.st_dev);
}

bool TSearchWalk::walk(const QString &folder, quint64 device)
{
    for (const TEntry &entry : ListFolder(folder)) {
        const QString path = folder + entry.name;
        if (!IsFolder(path, entry.type))
            visitFile(path);
        else if (rules_.subfolders && !visitFolder(folder, entry.name, device))
            return false;
        if (hooks_.stopRequested && hooks_.stopRequested())
            return false;
    }
    return true;
}

bool TSearchWalk::visitFolder(const QString &folder, const QString &name, quint64 parentDevice)
{
    const QString path = folder + name;
    quint64 device = 0;
    if (!mayEnter(path, parentDevice, device))
        return true;
    const bool goOn = walk(path + QLatin1Char('/'), device);
    if (hooks_.folderDone)
        hooks_.folderDone(path);
    return goOn;
}

bool TSearchWalk::mayEnter(const QString &path, quint64 parentDevice, quint64 &device)
{
    struct stat info {};
    if (!StatOf(path, info) || !S_ISDIR(info.st_mode))
        return false;
    device = info.st_dev;
    const bool crossesMount = device != parentDevice || rules_.mountPoints.contains(path);
    if (crossesMount && !rules_.enterableMounts.contains(path))
        return false;
    return entered_.insert({info.st_dev, info.st_ino}).second;
}

void TSearchWalk::visitFile(const QString &path)
{
    if (!MatchName(path, criteria_))
        return;
    TSwfHeader header;
    try {
        ReadSwfHeader(path, header);
    } catch (const ESwfHeaderError &) {
        return;  // an unreadable movie is passed over, the walk goes on
    }
    if (MatchHeader(header, criteria_) && hooks_.found)
        hooks_.found(path, header);
}
