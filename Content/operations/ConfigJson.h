#pragma once
// The configuration as a JSON object keyed by the field names of set: numbers in the
// units set takes (Hz, pixels, lines), choices as the spelling set shows.
#include "RZ8Full.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QStringList>

QJsonObject ConfigToJson(const RZ8Full& record);

// Sets every field of record from json, which must hold each field once and nothing
// else, with the checks of set. false with one message per problem (record unchanged).
bool ConfigFromJson(const QJsonObject& json, RZ8Full& record, QStringList& errors);

// A value as it stands in a file, for messages: "\"75\"", 75, true, null.
QString JsonValueText(const QJsonValue& value);
