#include "swf/sharedobjectfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "swf/avm1/sharedobjects.h"

namespace swf {

SharedObjectFolder::SharedObjectFolder(const QString &folder) : folder_(QDir::cleanPath(folder)) {}

QString SharedObjectFolder::fileFor(const std::string &path) const
{
    const QString relative = QString::fromStdString(path);
    if (folder_.isEmpty() || relative.isEmpty() || relative.startsWith('/')
        || relative.split('/').contains(QStringLiteral("..")))
        return {};
    const QString file = QDir::cleanPath(folder_ + '/' + relative);
    return file.startsWith(folder_ + '/') ? file : QString();
}

bool SharedObjectFolder::read(const std::string &path, std::string &bytes)
{
    QFile file(fileFor(path));
    if (file.fileName().isEmpty() || !file.open(QIODevice::ReadOnly)
        || file.size() > qint64(avm1::SharedObjects::kReadLimit))
        return false;
    const QByteArray content = file.readAll();
    bytes.assign(content.constData(), size_t(content.size()));
    return true;
}

bool SharedObjectFolder::write(const std::string &path, const std::string &bytes)
{
    const QString target = fileFor(path);
    if (target.isEmpty() || !QDir().mkpath(QFileInfo(target).path()))
        return false;
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(bytes.data(), qint64(bytes.size()));
    return file.commit();
}

void SharedObjectFolder::remove(const std::string &path)
{
    const QString target = fileFor(path);
    if (!target.isEmpty())
        QFile::remove(target);
}

}  // namespace swf
