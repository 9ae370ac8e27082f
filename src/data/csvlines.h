// Sample lines of CSV files in the shape this program writes them, formatted and parsed byte by
// byte: whole data sets pass through here at the speed of the disk. Anything of another shape
// is left to the general list-output and list-input code, which gives the same results.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <optional>

#include "data/codepage.h"
#include "data/dataset.h"

namespace csvline {

// Appends the line of record `record` with its CR LF, byte for byte as the general writer
// encodes it; false, with nothing appended, for a record that needs the general writer (a date
// outside the logger's years, remarks the encoding would change, a value that is not finite).
bool append(QByteArray& out, int record, const ScratchFile::Fields& fields,
            codepage::TextEncoding encoding);

// The values of one sample line, as the general reader would read them.
struct Values {
    double dateTime = 0;
    double temperature = 0;
    double humidity = 0;
    QByteArrayView remarks;  // the remarks' bytes, already in the scratch files' code page
};

// A line (without its line end) of exactly the written shape: a record number, a date-time,
// two numbers with two decimals and the remarks, each text quoted. Anything else gives nullopt
// and is for the general reader, which may accept or refuse it.
std::optional<Values> parse(QByteArrayView line, codepage::TextEncoding encoding);

}  // namespace csvline
