// The dump print: the selected rows of a data table as a ruled table of record number,
// date-time, temperature, humidity and remarks, page after page under the page header.
#pragma once

#include <vector>

#include "data/dataset.h"
#include "data/messagetable.h"
#include "data/tablerows.h"
#include "print/printheader.h"
#include "print/printpage.h"

// Refills the data set's selection statistics from exactly the printed rows (rows in table
// order), prints the header, then the rows with their texts from the table. Each
// page is finished before the next starts, with the headings repeated on it and a footer with
// the page number and the name. False when the printer could not start a page.
bool printDumpPages(PrintPage& page, const PrintHeaderFacts& facts, DataSet& set,
                    const TableRows& table, const std::vector<int>& rows,
                    const MessageTable& messages);
