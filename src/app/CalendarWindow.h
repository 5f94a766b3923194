#pragma once

#include "app/BackgroundPainter.h"
#include "app/Controls.h"
#include "app/ScreenFit.h"

#include <QHash>
#include <QImage>
#include <QRect>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QThread;

namespace navcal::app {

// The one window of the screensaver: fitted to its screen, its background
// painted, the stored design's controls on it. What acts on the controls is
// built and wired by the saver.
class CalendarWindow : public QWidget {
    Q_OBJECT
  public:
    // `dataFolders`: where the background picture is looked for, in order;
    // `screenPixels`: a fixed screen (the primary one when empty).
    CalendarWindow(QStringList dataFolders, std::optional<QSize> screenPixels,
                   QWidget* parent = nullptr);
    ~CalendarWindow() override;

    // The first frame's window: background, geometry and placement.
    void loadFrame();
    // Runs `rest` (what can wait: the music, the other monitors) once the
    // first frame has been painted, or after `latestMs` (as the first step waiting gives it) if no
    // frame comes; steps given before that run in the order given.
    void afterFirstFrame(std::function<void()> rest, int latestMs = 1000);
    // The saver ends: no step waiting for the first frame runs, nor one
    // given from now on.
    void cancelAfterFirstFrame();
    // Moves the window onto a screen of `geometry` (pixels) while it runs:
    // the arrangement is scaled to fit it and placed as at start-up, keeping
    // what the handlers have changed since.
    void fitToScreen(const QRect& geometry);
    const QRect& screenGeometry() const { return m_fit.geometry; }

    app::Controls& controls() { return *m_controls; }
    // The screen measured in the design's twips (at the arrangement's scale).
    float screenWidth() const { return m_fit.width; }

  signals:
    // The arrangement has been fitted to a screen `width` twips wide.
    void fitted(float width);
    // The window is closing, for whatever reason (the saver's end, a window
    // manager's close): the saver ends.
    void unloading();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void loadBackground();
    // The steps waiting for the first frame, once.
    void runAfterFirstFrame();
    // The background for the window's new size, decoded on a thread and
    // shown when it comes.
    void decodeForSize();
    void showBackground(QImage picture);
    // The background fitted to a window of `size`, and pieces kept ready
    // under the labels that repaint often.
    void fitBackground(QImage picture, QSize size);
    void keepBackgroundReady();
    // The stored images whose larger renderings the scale needs and the
    // images do not have yet.
    QStringList enlargedImages() const;
    static QHash<QString, QImage> readLargeRenderings(const QStringList& pictures);
    void giveLargeRenderings(const QHash<QString, QImage>& large);
    QSize backgroundPixels() const; // the window's size in device pixels

    QStringList m_dataFolders;
    ScreenFit m_fit;
    std::unique_ptr<app::Controls> m_controls;
    BackgroundPainter m_background;
    // The background being decoded since construction, for m_backgroundPixels.
    std::unique_ptr<QThread> m_decoding;
    QImage m_decoded;
    QHash<QString, QImage> m_largeRenderings; // decoded with it, by stored picture
    QSize m_backgroundPixels;
    bool m_haveLargeRenderings = false; // read, or being read
    // The decodes for later sizes, each on its own thread; the last asked for
    // is the one shown.
    std::vector<std::unique_ptr<QThread>> m_sizeDecoding;
    int m_sizesAsked = 0;
    bool m_painted = false;
    std::vector<std::function<void()>> m_afterFirstFrame;
    bool m_stepsCancelled = false;
    bool m_unloaded = false;
};

} // namespace navcal::app
