// The three data sets with their scratch files, and the operations over a whole data set:
// clearing before communication, statistics and the marking of extreme samples.
#pragma once

#include <QString>
#include <array>
#include <vector>

#include "data/dataset.h"

class DataSets {
  public:
    static constexpr int kSetCount = 3;

    // Opens log.rand, real.rand, read.rand and disp.rand in directory (created if missing,
    // opened as they are otherwise) and assigns the file slots. Every file is attempted;
    // true only if all opened.
    bool open(const QString& directory);
    void close();
    // Closes and deletes real.rand, log.rand, disp.rand and read.rand, in this order; every
    // file is attempted.
    bool removeFiles();

    // nullptr for an index outside 0..2.
    DataSet* at(int index);
    DataSet& operator[](DataSetIndex index) { return sets_[index]; }
    const DataSet& operator[](DataSetIndex index) const { return sets_[index]; }
    ScratchFile& displayFile() { return disp_; }

    // Before communication: the log and real-time data sets become empty and saved, with
    // reset statistics; the file data set is kept.
    void clearForCommunication();

    static QString scratchName(DataSetIndex index);

  private:
    std::array<DataSet, kSetCount> sets_;
    ScratchFile disp_;
};

// Resets stats and updates it with records first..last (bounded to 1..count).
DataError collectStats(DataSet& set, int first, int last, SampleStats& stats);
// The statistics of all samples of a data set, recomputed from its scratch file.
DataError recomputeStats(DataSet& set);

// The four extreme labels in the order maximum temperature, minimum temperature, maximum
// humidity, minimum humidity.
using ExtremeLabels = std::array<QString, 4>;

// After a download: each extreme record gets its label appended to its trimmed remarks.
DataError markExtremesInFile(DataSet& set, const ExtremeLabels& labels);

// After a real-time sample: every row's record gets as remarks the labels of the extremes
// it holds, joined with nothing between (empty when it holds none). rowRecords lists the
// record number shown in each table row; the result holds the new 50-character remarks per
// row (empty text for a row whose record number is outside the data set).
std::vector<QString> markExtremesInTable(DataSet& set, const std::vector<int>& rowRecords,
                                         const ExtremeLabels& labels, DataError& error);
