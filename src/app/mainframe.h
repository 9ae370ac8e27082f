// The clipping frame of the main window: it shows the fixed-size content and, when the
// window is smaller than the layout in either direction, its own horizontal and vertical
// scroll bars.
#pragma once

#include <QMargins>
#include <QRect>
#include <QScrollArea>
#include <QSize>

class MainFrame : public QScrollArea {
    Q_OBJECT
  public:
    explicit MainFrame(QWidget* content, QWidget* parent = nullptr);

    // The window sizes, in pixels, between which the main window may be resized (normal
    // state); `chrome` is the height the menu and status bars take besides the frame.
    static QSize minimumWindowSize();
    QSize maximumWindowSize(int chrome) const;
    // Client geometry of a window now at `current` whose frame adds `frame` around it: as large
    // as `largest` allows and placed so that the whole frame lies within the screen's
    // `available` area. Only a screen smaller than `smallest` plus the frame lets it overhang,
    // and then to the right and bottom, so the title bar stays reachable.
    static QRect fittedGeometry(const QRect& current, const QMargins& frame, const QRect& available,
                                QSize largest, QSize smallest);

    // True when the frame is smaller than the content in either direction and shows both bars.
    bool scrolling() const { return scrolling_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;

  private:
    void applyScrollRule();
    // The scroll area sets its own steps whenever it lays out; these are put back after it.
    void applySteps();

    bool scrolling_ = false;
};
