// Construction of the Easy page: every control with its name, caption, items
// and range, placed on Panel4 (712 x 466). Behaviour lives in easypage.cpp.
//
// Arrangement: two columns of picture and exposure settings on the left, then
// BLC with its area grid beside mark / language / alarm, and below them the
// lens group (zoom and focus on its left, speeds and modes on its right) and
// the title.

#include "easypage.h"

#include "../ui/controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace h7q8 {

namespace {

const QStringList OFF_ON{QStringLiteral("OFF"), QStringLiteral("ON")};

template <class W> W *place(W *w, int x, int y, int width, int height)
{
    w->setGeometry(x, y, width, height);
    return w;
}

RadioGroup *radio(QWidget *parent, const char *name, const QString &caption, const QStringList &items,
                  QRect geometry, int columns = -1)
{
    auto *group = new RadioGroup(QString::fromLatin1(name), caption, items, parent,
                                 columns < 0 ? int(items.size()) : columns);
    group->setGeometry(geometry);
    return group;
}

QCheckBox *check(QWidget *parent, const char *name, const QString &caption, QRect geometry)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(geometry);
    return box;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption, QRect geometry)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(geometry);
    return b;
}

QLineEdit *edit(QWidget *parent, const char *name, int maxLength, QRect geometry,
                bool readOnly = false)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setMaxLength(maxLength);
    e->setGeometry(geometry);
    e->setReadOnly(readOnly);
    return e;
}

TrackBar *bar(QWidget *parent, const char *name, int minimum, int maximum, QRect geometry)
{
    auto *b = new TrackBar(QString::fromLatin1(name), minimum, maximum, parent);
    b->setGeometry(geometry);
    if (maximum - minimum > 20) {
        b->setTickInterval((maximum - minimum) / 10);
        b->setPageStep(std::max(1, (maximum - minimum) / 50));
    }
    return b;
}

SpinButton *spin(QWidget *parent, const char *name, int x, int y)
{
    auto *s = new SpinButton(QString::fromLatin1(name), parent);
    s->setGeometry(x, y, 16, 22);
    return s;
}

QLabel *label(QWidget *parent, const QString &text, QRect geometry,
              Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto *l = new QLabel(text, parent);
    l->setGeometry(geometry);
    l->setAlignment(align);
    return l;
}

QGroupBox *group(QWidget *parent, const char *name, const QString &caption, QRect geometry)
{
    auto *g = new QGroupBox(caption, parent);
    if (name)
        g->setObjectName(QString::fromLatin1(name));
    g->setGeometry(geometry);
    return g;
}

// A captioned bar on one line: "caption [=====]".
TrackBar *labelledBar(QWidget *parent, const QString &caption, const char *name, int minimum,
                      int maximum, int x, int y, int labelWidth, int width)
{
    label(parent, caption, {x, y, labelWidth, 20});
    return bar(parent, name, minimum, maximum, {x + labelWidth, y, width - labelWidth, 20});
}

// Column 1: picture settings, gains and phase.
void buildPicture(QWidget *p)
{
    const int x = 2, w = 170, half = 84;
    auto *rev = group(p, "RevGroup", QStringLiteral("Rev"), {x, 0, w, 38});
    check(rev, "HRev", QStringLiteral("HRev"), {6, 16, 52, 18});
    check(rev, "VRev", QStringLiteral("VRev"), {60, 16, 52, 18});
    button(rev, "RevSet", QStringLiteral("Save"), {116, 14, 48, 21});

    radio(p, "PosiNega", QStringLiteral("Posi / Nega"), {QStringLiteral("Posi"), QStringLiteral("Nega")},
          {x, 40, w, 36});
    radio(p, "Select", QStringLiteral("Select"), {QStringLiteral("Field"), QStringLiteral("Frame")},
          {x, 78, w, 36});
    radio(p, "Priority", QStringLiteral("Priority"), {QStringLiteral("AGC"), QStringLiteral("SENS")},
          {x, 116, w, 36});
    radio(p, "Color", QStringLiteral("Color"),
          {QStringLiteral("OFF"), QStringLiteral("ON"), QStringLiteral("AUTO")}, {x, 154, w, 36});
    radio(p, "Gamma", QStringLiteral("Gamma"), {QStringLiteral("TYPE A"), QStringLiteral("TYPE B")},
          {x, 192, w, 36});

    // Two-item groups stacked, so that both fit side by side.
    radio(p, "Freeze", QStringLiteral("Freeze"), OFF_ON, {x, 230, half, 56}, 1);
    radio(p, "Initial", QStringLiteral("Initial"), OFF_ON, {x + w - half, 230, half, 56}, 1);

    auto *agc = group(p, "AGCSensGroup", QStringLiteral("AGC / Sens"), {x, 288, w, 56});
    labelledBar(agc, QStringLiteral("AGC"), "AGCBar", 0, 8, 4, 13, 46, w - 8);
    labelledBar(agc, QStringLiteral("Sens"), "SENSBar", 0, 8, 4, 33, 46, w - 8);

    auto *apc = group(p, "APCGroup", QStringLiteral("APC"), {x, 346, w, 56});
    labelledBar(apc, QStringLiteral("H-GAIN"), "HGainBar", 0, 12, 4, 13, 46, w - 8);
    labelledBar(apc, QStringLiteral("V-GAIN"), "VGainBar", 0, 12, 4, 33, 46, w - 8);

    radio(p, "Sync", QStringLiteral("Phase"), OFF_ON, {x, 404, 106, 36});
    label(p, QStringLiteral("Level"), {x + 110, 404, 56, 14});
    edit(p, "PhaseLevel", 4, {x + 110, 418, 56, 20});
    bar(p, "PhaseBar", -256, 256, {x, 442, w, 22});
}

// Column 2: white balance and exposure.
void buildColour(QWidget *p)
{
    const int x = 176, w = 174;
    radio(p, "wb_select", QStringLiteral("WB"), {QStringLiteral("ATW"), QStringLiteral("AWB")},
          {x, 0, 118, 36});
    button(p, "AWB", QStringLiteral("Enter"), {x + 122, 10, 52, 24});
    labelledBar(p, QStringLiteral("ATW"), "ATWBar", 0, 8, x + 4, 38, 40, w - 4);
    labelledBar(p, QStringLiteral("AWB"), "AWBBar", 0, 8, x + 4, 59, 40, w - 4);
    auto *gain = group(p, "WB", QStringLiteral("Gain"), {x, 80, w, 58});
    labelledBar(gain, QStringLiteral("R-Y"), "Rgain", 0, 8, 6, 14, 40, w - 10);
    labelledBar(gain, QStringLiteral("B-Y"), "BGain", 0, 8, 6, 35, 40, w - 10);

    radio(p, "PEAK", QStringLiteral("PEAK"), OFF_ON, {x, 144, w, 36});
    labelledBar(p, QStringLiteral("Level"), "PeakOnBar", 0, 8, x + 4, 181, 40, w - 4);

    radio(p, "ALC", QStringLiteral("ALC"), {QStringLiteral("AUTO"), QStringLiteral("FIX")},
          {x, 208, w, 36});
    labelledBar(p, QStringLiteral("Auto"), "ALCAutoBar", 0, 8, x + 4, 245, 40, w - 4);
    labelledBar(p, QStringLiteral("Fix"), "ALCFixBar", 0, 8, x + 4, 266, 40, w - 4);

    radio(p, "AES", QStringLiteral("AES"), {QStringLiteral("AUTO"), QStringLiteral("FIX")},
          {x, 294, w, 36});
    labelledBar(p, QStringLiteral("Auto"), "AESAutoBar", 0, 8, x + 4, 331, 40, w - 4);
    label(p, QStringLiteral("Fix"), {x + 4, 354, 40, 22});
    auto *fix = new QComboBox(p);
    fix->setObjectName(QStringLiteral("AESFixBox"));
    fix->addItems({QStringLiteral("OFF"), QStringLiteral("1/100 or 1/120"), QStringLiteral("1/250"),
                   QStringLiteral("1/500"), QStringLiteral("1/1000"), QStringLiteral("1/2000"),
                   QStringLiteral("1/4000"), QStringLiteral("1/10000")});
    fix->setCurrentIndex(0);
    place(fix, x + 44, 354, w - 44, 22);

    radio(p, "Preset", QStringLiteral("Preset"), OFF_ON, {x, 382, 118, 36});
    button(p, "PresetSet", QStringLiteral("Enter"), {x + 122, 392, 52, 24});
    radio(p, "PoOSD", QStringLiteral("Position OSD"), OFF_ON, {x, 422, w, 36});
    // Kept for its command; not offered to the user.
    auto *poosdud = radio(p, "PoOSDUD", QStringLiteral("OSD"), {QStringLiteral("UP"), QStringLiteral("DOWN")},
                          {x, 422, w, 36});
    poosdud->hide();
}

// Columns 3 and 4, top: BLC with its area grid; mark, language, alarm.
void buildBlcMark(QWidget *p)
{
    const int x = 354, w = 174;
    auto *blc = group(p, "BLCGroup", QStringLiteral("BLC"), {x, 0, w, 188});
    radio(blc, "BLC", QStringLiteral("Select"), OFF_ON, {4, 12, w - 8, 36});
    labelledBar(blc, QStringLiteral("Sens"), "BLCSensBar", 0, 7, 6, 50, 36, w - 10);
    auto *area = group(blc, "BLCArea", QStringLiteral("Area"), {4, 72, w - 8, 112});
    auto *grid = new QGridLayout(area);
    grid->setContentsMargins(6, 2, 6, 2);
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(0);
    for (int n = 1; n <= 48; ++n) {
        auto *box = new QCheckBox(area);
        box->setObjectName(QStringLiteral("BLCCheck%1").arg(n, 2, 10, QLatin1Char('0')));
        box->setToolTip(QStringLiteral("Area %1").arg(n));
        grid->addWidget(box, (n - 1) / 8, (n - 1) % 8, Qt::AlignCenter);
    }

    const int x2 = 532, w2 = 178;
    auto *mark = group(p, "MarkGroup", QString(), {x2, 0, w2, 72});
    radio(mark, "Mark", QStringLiteral("Mark"), OFF_ON, {2, 2, 72, 66}, 1);
    button(mark, "Mark_up", QStringLiteral("up"), {102, 4, 40, 20});
    button(mark, "Mark_left", QStringLiteral("left"), {78, 25, 44, 20});
    button(mark, "Mark_right", QStringLiteral("right"), {126, 25, 46, 20});
    button(mark, "Mark_down", QStringLiteral("down"), {102, 46, 40, 20});
    radio(p, "langu_sel", QStringLiteral("Language"),
          {QStringLiteral("English"), QStringLiteral("Chinese"), QStringLiteral("Japanese")},
          {x2, 74, w2, 52}, 2);
    auto *alarm = group(p, "AlarmGroup", QStringLiteral("Alarm"), {x2, 128, 70, 52});
    edit(alarm, "AlarmNo", 2, {6, 18, 36, 20})->setText(QStringLiteral("00"));
    spin(alarm, "AlarmSpinButton", 44, 17);
    radio(p, "PushSW", QStringLiteral("Push SW"), {QStringLiteral("Alarm"), QStringLiteral("Freeze")},
          {x2 + 72, 128, w2 - 72, 52}, 1);
}

// Columns 3 and 4, bottom: the lens group, then the title.
void buildLens(QWidget *p)
{
    const int x = 354, w = 356;
    auto *lens = group(p, "LensControl", QStringLiteral("Lens Control"), {x, 190, w, 218});

    // Left half: zoom and focus steps.
    int y = 14;
    label(lens, QStringLiteral("Zoom"), {4, y, 36, 22});
    edit(lens, "ZoomStep", 4, {40, y, 40, 22});
    spin(lens, "ZoomSpinButton", 81, y);
    edit(lens, "CurrentZoom", 4, {100, y, 40, 22}, true)->setToolTip(QStringLiteral("Current zoom"));
    button(lens, "GetZoomCurrent", QStringLiteral("Get"), {142, y, 32, 22});
    y += 23;
    bar(lens, "ZoomStepBar", 0x1000, 0x18C8, {4, y, 170, 20});
    y += 22;
    label(lens, QStringLiteral("Focus"), {4, y, 36, 22});
    edit(lens, "FocusStep", 4, {40, y, 40, 22});
    spin(lens, "FocusSpinButton", 81, y);
    edit(lens, "CurrentFocus", 4, {100, y, 40, 22}, true)->setToolTip(QStringLiteral("Current focus"));
    y += 23;
    bar(lens, "FocusStepBar", 0, 0x3FF, {4, y, 170, 20});
    y += 22;
    label(lens, QStringLiteral("Min"), {4, y, 24, 22});
    edit(lens, "FocusStepMin", 4, {28, y, 42, 22}, true);
    label(lens, QStringLiteral("Max"), {78, y, 24, 22});
    edit(lens, "FocusStepMax", 4, {102, y, 42, 22}, true);
    y += 25;
    check(lens, "AutoFocus", QStringLiteral("AutoFocus"), {6, y, 80, 20});
    button(lens, "OnePushAF", QStringLiteral("OnePushAF"), {90, y - 1, 84, 22});
    y += 22;
    check(lens, "CurrentCheck", QStringLiteral("CurrentCheck"), {6, y, 110, 20});
    y += 22;
    radio(lens, "ZOOMTR", QStringLiteral("ZOOM+AF"), OFF_ON, {4, y, 170, 36});

    // Right half: speeds, digital zoom, modes, positions.
    const int r = 182, rw = 170;
    y = 14;
    labelledBar(lens, QStringLiteral("Z Speed"), "ZoomSpeedBar", 0, 4, r, y, 50, rw);
    y += 21;
    labelledBar(lens, QStringLiteral("F Speed"), "FocusSpeedBar", 0, 4, r, y, 50, rw);
    y += 23;
    radio(lens, "DigitalZoom", QStringLiteral("Digital Zoom"),
          {QStringLiteral("OFF"), QStringLiteral("x2"), QStringLiteral("x4"), QStringLiteral("x6"),
           QStringLiteral("x8"), QStringLiteral("x10")},
          {r, y, rw, 52}, 3);
    y += 54;
    radio(lens, "AFSleep", QStringLiteral("AF Sleep"), OFF_ON, {r, y, 84, 56}, 1);
    radio(lens, "ZoomMag", QStringLiteral("Zoom MAG"), OFF_ON, {r + 86, y, 84, 56}, 1);
    y += 58;
    auto *pos = group(lens, "PositionGroup", QStringLiteral("Position"), {r, y, rw, 44});
    edit(pos, "PositionNo", 2, {6, 16, 30, 22})->setText(QStringLiteral("01"));
    spin(pos, "PositionSpinButton", 37, 16);
    button(pos, "PosLoad", QStringLiteral("Load"), {58, 16, 52, 22});
    button(pos, "PosSave", QStringLiteral("Save"), {112, 16, 52, 22});

    auto *title = group(p, "TitleBox", QStringLiteral("Title"), {x, 412, w, 50});
    auto *name = edit(title, "CName", 20, {6, 18, 190, 24});
    name->setToolTip(QStringLiteral("Camera title, up to 20 characters"));
    auto *position = new QComboBox(title);
    position->setObjectName(QStringLiteral("Ctitlepos"));
    position->addItems({QStringLiteral("Up"), QStringLiteral("Down")});
    position->setCurrentIndex(0);
    place(position, 202, 18, 80, 24);
    button(title, "SetTitle", QStringLiteral("Set"), {288, 18, 60, 24});
}

} // namespace

void BuildEasyPage(QWidget *panel4)
{
    if (!panel4)
        return;
    // A compact regular font: the page holds some hundred controls.
    QFont font = panel4->font();
    font.setBold(false);
    font.setPixelSize(11);
    panel4->setFont(font);
    // Group captions sit on the frame line, as on the tool's original forms, so
    // that a one-row radio group needs no more than 36 pixels.
    panel4->setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid palette(mid); border-radius: 3px;"
        " margin-top: 7px; padding-top: 4px; }"
        "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
        " left: 7px; padding: 0px 2px; }"));

    buildPicture(panel4);
    buildColour(panel4);
    buildBlcMark(panel4);
    buildLens(panel4);
}

} // namespace h7q8
