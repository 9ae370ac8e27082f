// The Download button and the progress dialog around a download.
#include "operations/downloadop.h"

namespace {
constexpr int kMessageNotPreserved = 1093;
constexpr int kMessagePreserve = 1094;
constexpr int kMessageNoData = 1096;
}  // namespace

DownloadOperation::DownloadOperation(Engine& engine, LoggerState& state, DataSet& logData,
                                     Prompter& prompter, const MessageTable& messages,
                                     DownloadHost& host)
    : engine_(engine),
      state_(state),
      logData_(logData),
      prompter_(prompter),
      messages_(messages),
      host_(host),
      download_(engine, state, logData, prompter, messages, *this),
      dialog_(std::make_unique<ProgressDialog>(messages)) {}

DownloadOperation::~DownloadOperation() = default;

void DownloadOperation::Command5_Click() {
    if (engine_.busy()) {
        return;
    }
    if (state_.Record_Pointer == 0 && state_.Wrapped == 0) {
        prompter_.message(state_.Machine_N_P, messages_.text(kMessageNoData));
        return;
    }
    if (logData_.unsaved &&
        prompter_.question(state_.Machine_N_P,
                           messages_.pair(kMessageNotPreserved, kMessagePreserve))) {
        host_.saveLogData();
    }
    // A save run from the question pumps events; a procedure may have started meanwhile.
    if (engine_.busy()) {
        return;
    }
    logData_.stats.reset();
    dialog_->open([this] { Download_Cancel(); });
    logData_.count = 0;
    host_.downloadStarting();
    if (!download_.start()) {
        dialog_->closeByProgram();
    }
}

void DownloadOperation::progress(int value, int maximum, const QString& caption) {
    dialog_->setProgress(value, maximum, caption);
}

void DownloadOperation::downloadFinished() {
    host_.showLogData();
    dialog_->closeByProgram();
}

void DownloadOperation::downloadFailed() {
    dialog_->closeByProgram();
}
