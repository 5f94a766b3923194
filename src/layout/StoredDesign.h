#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>
#include <vector>

// The stored design of the window: every control as it exists when the window
// has been created, before start-up moves anything. Geometry is in twips.
namespace navcal::layout {

// Colours are 0x00BBGGRR, low byte red.
using Colour = quint32;
namespace colours {
inline constexpr Colour black = 0x000000;
inline constexpr Colour red = 0x0000FF;
inline constexpr Colour blue = 0xFF0000;
inline constexpr Colour yellow = 0x00FFFF;
inline constexpr Colour darkRed = 0x000080;
inline constexpr Colour brown = 0x004080;
inline constexpr Colour darkBlue = 0xC00000;
inline constexpr Colour green = 0x00FF00;
} // namespace colours

enum class ControlKind { Label, Timer, Image, PictureBox };
enum class Pointer { Arrow, Lifebuoy, Music };

struct StoredFont {
    QString face;
    float points = 8.25f;
    bool bold = false;
    bool italic = false;
};

struct StoredControl {
    ControlKind kind = ControlKind::Label;
    QString name;
    int index = -1; // element of a control array, or -1
    float left = 0, top = 0, width = 0, height = 0;
    QString caption;
    StoredFont font;
    std::optional<Colour> foreColor; // empty: the system button-text colour
    QString toolTip;
    Pointer pointer = Pointer::Arrow;
    bool autoSize = false;
    int interval = 0; // timers, in milliseconds
    QString picture;  // images and the picture box: resource path

    // "Label10(5)" for an array element, the plain name otherwise.
    QString objectName() const;
};

// Layout of one month panel.
struct MonthLayout {
    int month;     // 1..12
    QString timer; // fill timer
    QString title; // title label
    QString titleCaption;
    float titleLeft, titleTop, titleWidth;
    QString headers[7]; // weekday headers, Monday ... Sunday
    QString cells;      // day-cell array
    float x0, y0;
    bool evenColumns; // March and November
};

inline constexpr int kCellsPerMonth = 37;
inline constexpr float kDesignWidth = 18000; // the window's client area
inline constexpr float kDesignHeight = 12000;
inline constexpr float kArrangementWidth = 15360; // the block start-up centres
inline constexpr float kArrangementHeight = 11520;

const std::vector<MonthLayout>& monthLayouts();

// Every control of the stored design, array elements one row each.
const std::vector<StoredControl>& storedControls();

// Texts the program chooses for itself.
QString programTitle();
QString siteAddress();
QString siteCaption();

const QStringList& weekdayCaptions();

} // namespace navcal::layout
