#include "CtlOutput.h"

#include <cstdio>

void CtlPrint(const QString& line) {
    std::fputs(qUtf8Printable(line + '\n'), stdout);
    // At once, also into a pipe, so that the lines keep in step with the notes on stderr.
    std::fflush(stdout);
}

void CtlPrintLines(const QStringList& lines) {
    for (const QString& l : lines)
        CtlPrint(l);
}

void CtlPrintRaw(const QByteArray& text) {
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    std::fflush(stdout);
}

void CtlNote(const QString& message) {
    std::fputs(qUtf8Printable(QStringLiteral("kztrctl: ") + message + '\n'), stderr);
}
