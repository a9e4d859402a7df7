#pragma once
// Where the batch conversion writes the result of one source file.

#include <QString>

enum class BatchType { SwfToExe = 0, ExeToSwf = 1, SwfToScreenSaver = 2 };

// "exe", "swf" or "scr".
QString BatchTargetExtension(BatchType type);

// The source path, or, when `otherFolder`, the trimmed `folderText` and the
// source's file name; then its last three characters (taken to be the
// extension, whatever they are) replaced by the type's extension. A file
// name of three characters or fewer keeps its name and gets "." and the
// extension, so that the cut never reaches into the folder.
QString BatchTargetPath(const QString &source, BatchType type, bool otherFolder, const QString &folderText);
