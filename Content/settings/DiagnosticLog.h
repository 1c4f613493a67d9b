#pragma once
// The daily log file: one time-stamped line per command sent, in
// <directory>/<YYYY.MM.DD>.txt, appended for ever.
#include <QDateTime>
#include <QString>
#include <functional>

// flag is ignored (kept for callers that pass 1). Returns 1 when the line was written,
// 0 when it was dropped (directory or file not writable); callers may ignore it.
int WriteLogFileLine(int flag, const QString& directory, const QString& text);

// Where the current local date and time come from; tests install their own.
// An empty function restores the system clock.
void SetLogDateTimeSource(std::function<QDateTime()> source);
