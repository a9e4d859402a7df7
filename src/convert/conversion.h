#pragma once
// The program's side of the converter library: one call per file in
// either direction, with the library's message when it fails. Interface
// thread (the library itself is reentrant).

#include <QString>
#include <optional>

enum class ConvertDirection { SwfToExe, ExeToSwf };

// Converts `source` into `target`; nothing on success, else the reason.
std::optional<QString> ConvertFile(ConvertDirection direction, const QString &source, const QString &target);
