#include "passinglist.h"

#include <QFile>
#include <QSaveFile>
#include <QTextStream>

std::set<QString> ReadPassingList(const QString &path)
{
    std::set<QString> listed;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QTextStream in(&file);
        while (!in.atEnd()) {
            const QString line = in.readLine().trimmed();
            if (!line.isEmpty() && !line.startsWith(QLatin1Char('#')))
                listed.insert(line);
        }
    }
    return listed;
}

bool WritePassingList(const QString &path, const std::set<QString> &passing)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    QTextStream out(&file);
    for (const QString &entry : passing)
        out << entry << '\n';
    out.flush();
    return file.commit();
}
