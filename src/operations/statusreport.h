// The logger's status as the command line prints it: one "caption: value" line per read-out the
// panel shows, or a JSON object of typed values for scripts.
#pragma once

#include <QByteArray>
#include <QJsonObject>

#include "data/messagetable.h"
#include "operations/statusview.h"

QByteArray statusLines(const StatusView& view, const MessageTable& messages);
QJsonObject statusJson(const StatusView& view);
