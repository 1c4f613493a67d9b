#pragma once
// Where kztrctl's words go: results on stdout, messages on stderr after "kztrctl: ".
#include <QByteArray>
#include <QString>
#include <QStringList>

void CtlPrint(const QString& line);
void CtlPrintLines(const QStringList& lines);
void CtlPrintRaw(const QByteArray& text);
void CtlNote(const QString& message);
