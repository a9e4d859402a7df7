// swfinfo FILE...: prints the header facts of each movie as one JSON object
// per line, in argument order. Exit status 0 when every file was read
// without error, 1 otherwise (a file that is merely not a movie is not an
// error: it prints "ok": false).

#include <QFile>
#include <QString>
#include <cstdio>
#include <string>

#include "catalogue/swfheader.h"

namespace {

std::string JsonString(const QString &text)
{
    std::string out = "\"";
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '"' || u == '\\') {
            out += '\\';
            out += char(u);
        } else if (u < 0x20 || u >= 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", unsigned(u));
            out += escaped;
        } else {
            out += char(u);
        }
    }
    return out + "\"";
}

// The signature up to its first zero byte, each byte taken as Latin-1.
QString SignatureText(const TSwfHeader &h)
{
    QString text;
    for (const char c : h.Signature) {
        if (c == 0)
            break;
        text += QChar(static_cast<uchar>(c));
    }
    return text;
}

std::string HeaderLine(const std::string &path, bool ok, const TSwfHeader &h)
{
    return "{\"path\": " + path + ", \"ok\": " + (ok ? "true" : "false") +
           ", \"signature\": " + JsonString(SignatureText(h)) +
           ", \"version\": " + std::to_string(h.Version) +
           ", \"file_length\": " + std::to_string(h.FileLength) +
           ", \"width\": " + std::to_string(HeaderWidth(h)) +
           ", \"height\": " + std::to_string(HeaderHeight(h)) +
           ", \"frame_rate\": " + std::to_string(h.FrameRate) +
           ", \"frame_rate_frac\": " + std::to_string(h.FrameRateFrac) +
           ", \"frame_count\": " + std::to_string(h.FrameCount) + "}";
}

// Prints one line for `argument`; false when reading raised an error.
bool PrintFacts(const char *argument)
{
    const QString path = QFile::decodeName(argument);
    const std::string pathJson = JsonString(path);
    TSwfHeader header;
    try {
        const bool ok = ReadSwfHeader(path, header);
        std::printf("%s\n", HeaderLine(pathJson, ok, header).c_str());
        return true;
    } catch (const ESwfHeaderError &error) {
        std::printf("{\"path\": %s, \"error\": %s}\n", pathJson.c_str(),
                    JsonString(QString::fromStdString(error.what())).c_str());
        return false;
    }
}

}  // namespace

int main(int argc, char **argv)
{
    bool allRead = true;
    for (int i = 1; i < argc; ++i)
        allRead = PrintFacts(argv[i]) && allRead;
    return allRead ? 0 : 1;
}
