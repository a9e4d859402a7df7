#pragma once
// Where the program's help, home page and mail commands lead.

#include <QString>

inline const QString kHomepageUrl = QStringLiteral("https://pavoko.example.org/");
inline const QString kSupportAddress = QStringLiteral("support@pavoko.example.org");
inline const QString kCopyAddress = QStringLiteral("sales@pavoko.example.org");
// A new mail to support with an empty subject and the second address in copy.
inline const QString kSupportMailUrl =
    QStringLiteral("mailto:") + kSupportAddress + QStringLiteral("?subject=&cc=") + kCopyAddress;
// The help page lies beside the program under this name.
inline const QString kHelpFileName = QStringLiteral("help.html");
