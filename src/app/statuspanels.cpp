// Status bar panels sized in twips, with a small font that fits the bar's fixed height.
#include "app/statuspanels.h"

#include <QFont>
#include <QLabel>
#include <QStatusBar>

#include "controls/controlid.h"
#include "controls/twips.h"

namespace {

constexpr int kBarHeight = 300;
constexpr int kBarTopGap = 4;
constexpr int kFontPoints = 8;
constexpr int kFirstPanelWidth = 3300;

}  // namespace

StatusPanels::StatusPanels(QStatusBar* bar) {
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setFixedHeight(barHeight());
    bar->setSizeGripEnabled(true);
    const ControlId names[] = {ControlId::ConnectionStatusPanel, ControlId::CursorReadoutPanel,
                               ControlId::ClockPanel};
    for (int i = 0; i < 3; ++i) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(QLatin1String(controlName(names[i])));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        // The bar keeps a few pixels above its items; a panel sized by the default font would
        // overhang the bar's fixed height and lose its bottom edge and descenders.
        panel->setFixedHeight(barHeight() - kBarTopGap);
        QFont font = panel->font();
        font.setPointSize(kFontPoints);
        panel->setFont(font);
        panels_[i] = panel;
    }
    panels_[0]->setFixedWidth(twips(kFirstPanelWidth));
    bar->addWidget(panels_[0]);
    bar->addWidget(panels_[1], 1);
    bar->addPermanentWidget(panels_[2]);
}

int StatusPanels::barHeight() {
    return twips(kBarHeight);
}

QString StatusPanels::text(int panel) const {
    return panel >= 1 && panel <= 3 ? panels_[panel - 1]->text() : QString();
}

void StatusPanels::setText(int panel, const QString& text) {
    if (panel >= 1 && panel <= 3) {
        panels_[panel - 1]->setText(text);
    }
}
