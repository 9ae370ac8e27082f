// The 2000 indexed texts every caption and message is taken from, filled in Japanese or
// English. Unwritten entries read as empty text.
#pragma once

#include <QString>
#include <vector>

#include "data/msg.h"

enum class Language { Japanese = 0, English = 1 };

class MessageTable {
  public:
    static constexpr int kSize = 2000;
    // Between the parts of a message box's text: two carriage returns, a blank line on screen.
    static constexpr QLatin1String kPartBreak{"\r\r"};

    MessageTable();
    void fillJapanese();
    void fillEnglish();
    // The fill operation the language selector picks (0 Japanese, anything else English).
    void fill(Language language);
    Language language() const { return language_; }

    static bool isValidIndex(int index) { return index >= 0 && index < kSize; }
    // Empty text for an unwritten entry or an index outside 0..1999.
    QString text(int index) const;
    QString text(Msg msg) const { return text(msgIndex(msg)); }
    // Two entries joined by kPartBreak, as every two-part message box shows them.
    QString pair(int first, int second) const;
    QString pair(Msg first, Msg second) const { return pair(msgIndex(first), msgIndex(second)); }
    // Number of entries holding a non-empty text.
    int writtenCount() const;

  private:
    void clear();
    void set(Msg msg, const QString& text);
    std::vector<QString> texts_;
    Language language_ = Language::English;
};
