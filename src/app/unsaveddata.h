// Data sets the user could not be asked about: when the session ends the program they are
// kept as recovery files, and the next start offers each kept file once.
#pragma once

#include <QString>
#include <functional>

class CsvFiles;
class DataSets;
class MessageTable;
class Prompter;

class UnsavedData {
  public:
    UnsavedData(const QString& programDirectory, DataSets& dataSets, CsvFiles& files,
                Prompter& prompter, const MessageTable& messages);

    // Asks about each pending recovery file, under `title` as it reads then; an answered file keeps
    // its plain name and, if asked for, is opened as the file data set. Stops, offering the rest
    // again next time, once `ended` says the session ended the program during a question.
    void offerRecovered(const QString& title, const std::function<bool()>& ended);
    // Writes each unsaved log and real-time data set as a pending recovery file.
    void keep();

  private:
    QString programDirectory_;
    DataSets& dataSets_;
    CsvFiles& files_;
    Prompter& prompter_;
    const MessageTable& messages_;
};
