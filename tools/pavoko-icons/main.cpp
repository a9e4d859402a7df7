// pavoko-icons: writes the program's picture as the PNG icons of the
// hicolor theme, so that the installed icons are the picture the program
// shows in its own windows.
//
//   pavoko-icons OUTDIR SIZE...     writes OUTDIR/<SIZE>x<SIZE>/apps/pavoko.png

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <cstdio>

#include "ui/drawnicons.h"

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: pavoko-icons OUTDIR SIZE...\n");
        return 2;
    }
    for (const QString &sizeText : args.mid(2)) {
        bool ok = false;
        const int size = sizeText.toInt(&ok);
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(args.at(1)).arg(size);
        if (!ok || size < 1 || size > 1024 || !QDir().mkpath(folder)
            || !ProgramPicture(size).save(folder + QStringLiteral("/pavoko.png"), "PNG")) {
            std::fprintf(stderr, "pavoko-icons: cannot write the %s icon\n", qPrintable(sizeText));
            return 1;
        }
    }
    return 0;
}
