// The identification name as the name and recording dialogs take it: at most four characters,
// kept by the logger as 8-bit codes of the Windows-1252 table; nine characters are never
// allowed. A refused name is answered with a message and the box goes back to the logger's name.
#pragma once

#include <QString>
#include <array>
#include <cstdint>

#include "data/messagetable.h"
#include "data/prompter.h"

class NameField {
  public:
    static constexpr int kLength = 4;
    static inline const QString kForbidden = QStringLiteral("\\/:*?\"<>|");

    // `forbiddenMessage` is the dialog's own text for the nine characters
    // (Msg::NameLetterNotUsable or Msg::RecordingNameLetterNotUsable).
    NameField(const QString& loggerName, Msg forbiddenMessage, const MessageTable& messages,
              Prompter& prompter, const QString& title);

    const QString& loggerName() const { return loggerName_; }
    void setLoggerName(const QString& name) { loggerName_ = name; }
    // True when the logger can take the name; otherwise the refusal is shown and false returned.
    bool accept(const QString& name);

    // The refusal of a name, empty when the logger can take it.
    static QString refusal(const QString& name, Msg forbiddenMessage, const MessageTable& messages);
    // The name padded on the left with spaces to four characters (a longer one is cut), as
    // the codes SetName12 and SetName34 carry.
    static std::array<std::uint8_t, kLength> codes(const QString& name);

  private:
    QString loggerName_;
    Msg forbiddenMessage_;
    const MessageTable& messages_;
    Prompter& prompter_;
    QString title_;
};
