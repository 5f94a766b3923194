#pragma once

#include "design/Colour.h"

#include <QString>
#include <QtGlobal>
#include <array>
#include <optional>
#include <vector>

// The stored design of the window: every control as it exists when the window
// has been created, before start-up moves anything. Geometry is in twips.
namespace navcal::design {

enum class ControlKind { Label, Timer, Image, PictureBox };

// What a single control is to the program; the month panels' controls are
// found through their month's layout instead.
enum class Role {
    None,
    Credit,
    SiteAddress,
    Clock,
    Title,
    Banner,
    DateLine,
    Seagull,
    Ship,
    Flag,
    Background,
    FillTimer,
    ClockTimer,
};
enum class Pointer { Arrow, Lifebuoy, Music };

struct StoredFont {
    QString face{};
    float points = 8.25f;
    bool bold = false;
    bool italic = false;
};

struct StoredControl {
    ControlKind kind = ControlKind::Label;
    Role role = Role::None;
    QString name{};
    int index = -1; // element of a control array, or -1
    float left = 0, top = 0, width = 0, height = 0;
    QString caption{};
    StoredFont font{};
    std::optional<Colour> colour{}; // empty: the system button-text colour
    QString tooltip{};
    Pointer pointer = Pointer::Arrow;
    bool autoSize = false;
    int interval = 0;  // timers, in milliseconds
    QString picture{}; // images and the picture box: resource path

    // "Label10(5)" for an array element, the plain name otherwise.
    QString objectName() const;
};

// Layout of one month panel.
struct MonthLayout {
    int month = 0;   // 1..12
    QString title{}; // title label
    QString titleCaption{};
    float titleLeft = 0, titleTop = 0, titleWidth = 0;
    bool titleAutoSize = true;
    QString titleTip{};
    std::array<QString, 7> headers{}; // weekday headers, Monday ... Sunday
    QString cells{};                  // day-cell array
    float x0 = 0, y0 = 0;             // cell 0, the top of the first column
    bool evenColumns = false;         // March and November
    bool cellsBlack = false;          // cells stored black, else the button-text colour
};

// The day a month's cell (0..36) is numbered with in the stored design,
// before a fill gives it the month's own.
constexpr int storedCellDay(int cell) {
    return cell + 1;
}
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

} // namespace navcal::design
