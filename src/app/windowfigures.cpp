// The window's figures and graph tools over the graph panel and the session's prompter.
#include "app/windowfigures.h"

#include "data/csv.h"
#include "graph/graphpanel.h"
#include "graph/graphview.h"
#include "link/session.h"
#include "ui/statisticsdialog.h"

WindowFigures::WindowFigures(GraphPanel& graphs, Session& session, const MessageTable& messages,
                             QWidget* owner, GraphExportOperation::SizeQuestion askSize)
    : graphs_(graphs),
      session_(session),
      messages_(messages),
      owner_(owner),
      export_(session.prompter(), messages, std::move(askSize)) {}

WindowFigures::~WindowFigures() = default;

void WindowFigures::showStatistics() {
    if (!statistics_) {
        statistics_ = std::make_unique<StatisticsDialog>(graphs_.view(), messages_, owner_);
    }
    statistics_->show();
    statistics_->raise();
    statistics_->activateWindow();
}

void WindowFigures::setDewPointLine(bool on) {
    graphs_.view().setDewPointLine(on);
}

bool WindowFigures::dewPointLine() const {
    return graphs_.view().renderer().dewPointLine();
}

ExportOutcome WindowFigures::exportGraph(const QString& directory) {
    if (session_.busy()) {
        return {};
    }
    GraphView& view = graphs_.view();
    ExportSubject subject;
    subject.set = view.displayed();
    subject.title = session_.state().Machine_N_P;
    subject.directory = directory;
    Sample first;
    Sample last;
    if (subject.set != nullptr && subject.set->count > 0 &&
        subject.set->read(1, first) == DataError::None &&
        subject.set->read(subject.set->count, last) == DataError::None) {
        subject.view = {view.bars(), timeBaseOf(first.dateTime, last.dateTime).stepUnit};
        subject.proposedName = proposedFileName(subject.set->identName, first.dateTime);
    }
    const QSize box = graphs_.temperatureGraph()->size();
    subject.screenSize = QSize(box.width(), 2 * box.height());
    return session_.prompter().hold([&] { return export_.run(subject, view.renderer()); });
}
