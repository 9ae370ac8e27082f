// The message-table texts the data operations use, gathered once per language.
#pragma once

#include "data/csv.h"
#include "data/datasets.h"
#include "data/messagetable.h"

CsvTexts csvTexts(const MessageTable& table);
// Labels appended after a download (" Maximum temperature"...).
ExtremeLabels fileExtremeLabels(const MessageTable& table);
// Labels of the real-time table ("Maximum temperature"...).
ExtremeLabels tableExtremeLabels(const MessageTable& table);
