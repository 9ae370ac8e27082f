// Holds the main window to its layout: the smallest and the designed size, the whole frame on
// the screen at start-up and once shown, and a normal window never larger than the layout
// (maximised and full screen fill the screen instead).
#pragma once

#include <QMargins>
#include <QObject>
#include <QSize>

class MainFrame;
class QMainWindow;

class WindowSizing : public QObject {
    Q_OBJECT
  public:
    // Watches the window's show and resize events; the window owns this.
    WindowSizing(QMainWindow& window, const MainFrame& frame);

    // The window size at which the whole layout shows, the largest of the normal state.
    QSize designedSize() const { return designedSize_; }
    void applySizeLimits();
    // Shrinks the window (and, once shown, moves it) so its whole frame is on the screen.
    void fitToScreen();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Neither maximised, minimised nor full screen: the layout's size limits apply.
    bool normalState() const;
    QMargins frameMargins() const;
    void shown();
    void resized(const QSize& size);

    QMainWindow& window_;
    const MainFrame& frame_;
    QSize designedSize_;
    bool shownOnce_ = false;
    bool clampPending_ = false;
};
