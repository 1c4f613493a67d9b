#pragma once
// The wall file: the configurations of a wall's controllers keyed by box ID, as save
// writes it and load reads it. No ports here: a file is read and checked whole before
// load touches anything.
#include "CtlRecords.h"

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <vector>

inline constexpr char kWallFormat[] = "kztrctl-wall";
constexpr int kWallVersion = 1;

struct WallEntry {
    int boxId = 0;
    char model = 0;
    RZ8Full config{}; // only the fields of the table are meaningful
};

struct WallRead {
    std::vector<WallEntry> entries; // by box ID; empty when anything was wrong
    QStringList errors;             // every problem found, naming controller and field
};

WallRead ParseWall(const QByteArray& text);
WallRead ReadWallFile(const QString& path);

// Why these controllers cannot be keyed by box ID (no ID, or an ID shared), one message
// per ID; empty when every one can.
QStringList UnkeyableControllers(const std::vector<FoundController>& controllers);

// Each controller as show --json prints it, without the box ID that is its key.
QJsonObject WallToJson(const std::vector<ControllerSnapshot>& snapshots, const QDateTime& savedAt);
// Replaces path whole or not at all.
bool WriteWallFile(const QString& path, const QJsonObject& wall, QString& error);
