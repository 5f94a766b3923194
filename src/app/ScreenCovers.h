#pragma once

#include <QImage>
#include <QObject>
#include <QPixmap>
#include <QWidget>
#include <functional>
#include <map>

class QScreen;

namespace navcal::app {

class CalendarWindow;

// A borderless topmost window over one screen besides the calendar's: the
// seascape (or the picture that replaced it), stretched. A character key or a
// click on it ends the saver as one on the calendar does.
class ScreenCover : public QWidget {
    Q_OBJECT
  public:
    ScreenCover(QScreen* screen, QImage picture, std::function<void()> end);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QImage m_picture;
    QPixmap m_scaled; // the picture at this window's size, scaled when it changes
};

// Keeps a cover on every screen but the calendar's, as screens come and go
// and the primary one changes. The calendar keeps its screen while that
// exists; when it goes, the calendar moves to the primary screen and fills
// it.
class ScreenCovers : public QObject {
    Q_OBJECT
  public:
    // `end` ends the saver from a cover, as from the calendar's window.
    ScreenCovers(CalendarWindow& form, std::function<void()> end);
    ~ScreenCovers() override;

    // The saver ends: every cover closes and no new one comes.
    void close();

  private:
    void follow();
    void drop(QScreen* screen);
    // The screen the calendar stands on, or where it goes when that is gone.
    QScreen* calendarScreen() const;
    void moveCalendar(QScreen* gone);
    void watchCalendarScreen();

    CalendarWindow& m_form;
    std::function<void()> m_end;
    std::map<QScreen*, ScreenCover*> m_covers;
    QScreen* m_watched = nullptr; // the calendar's screen, whose size it follows
    bool m_closed = false;
};

} // namespace navcal::app
