#pragma once
// Stand-ins for the controls the tool was designed on. Setting a value from
// code notifies exactly as a user change does, and only when the value really
// changes ("no change, no signal").

#include <QButtonGroup>
#include <QGroupBox>
#include <QSlider>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>

class QLineEdit;
class QToolButton;
class QRadioButton;

namespace h7q8 {

// A captioned group of radio buttons, one per item, selected by index.
class RadioGroup : public QGroupBox
{
    Q_OBJECT
public:
    RadioGroup(const QString &objectName, const QString &caption, const QStringList &items,
               QWidget *parent = nullptr, int columns = 0);

    int itemIndex() const { return m_index; }
    // An index at or above the item count selects the last item; below 0 clears.
    void setItemIndex(int index);
    int count() const { return int(m_buttons.size()); }
    QStringList items() const;
    QRadioButton *button(int index) const { return m_buttons.value(index); }

signals:
    // Runs on every real change, from the user or from code.
    void itemIndexChanged(int index);

private:
    QButtonGroup m_group;
    QList<QRadioButton *> m_buttons;
    int m_index = -1;
};

// A horizontal track bar; notifies position changes only.
class TrackBar : public QSlider
{
    Q_OBJECT
public:
    TrackBar(const QString &objectName, int minimum, int maximum, QWidget *parent = nullptr);
    // The tool's range rules: set the maximum, then the minimum.
    void setFrequency(int ticks) { setTickInterval(ticks); }
};

// Up and down arrows with a click signal each.
class SpinButton : public QWidget
{
    Q_OBJECT
public:
    explicit SpinButton(const QString &objectName, QWidget *parent = nullptr);
    QToolButton *upButton() const { return m_up; }
    QToolButton *downButton() const { return m_down; }
    void clickUp();
    void clickDown();

signals:
    void upClick();
    void downClick();

private:
    QToolButton *m_up;
    QToolButton *m_down;
};

// An up-down spinner tied to a buddy edit, with optional wrapping.
class UpDown : public QWidget
{
    Q_OBJECT
public:
    UpDown(const QString &objectName, int minimum, int maximum, int position, bool wrap,
           QLineEdit *buddy, QWidget *parent = nullptr);

    int position() const;
    void setPosition(int position);
    int minimum() const { return m_min; }
    int maximum() const { return m_max; }
    void stepUp();
    void stepDown();
    QToolButton *upButton() const { return m_up; }
    QToolButton *downButton() const { return m_down; }

signals:
    void positionChanged(int position);

private:
    int m_min, m_max, m_position;
    bool m_wrap;
    QLineEdit *m_buddy;
    QToolButton *m_up;
    QToolButton *m_down;
};

// The throttle timer of a track bar: arming an armed timer does not restart it.
// Each expiry runs the tick; the tick decides whether to disarm.
class BarTimer : public QObject
{
    Q_OBJECT
public:
    BarTimer(const QString &objectName, int intervalMs, QObject *parent);
    void arm();
    void disarm() { m_timer.stop(); }
    bool isArmed() const { return m_timer.isActive(); }
    void setTick(std::function<void()> tick) { m_tick = std::move(tick); }
    // Runs one expiry now, as if the interval had passed.
    void fire();
    QTimer &timer() { return m_timer; }

private:
    QTimer m_timer;
    std::function<void()> m_tick;
};

} // namespace h7q8

namespace h7q8 {
// The control's own enabled flag, whatever its parents say. Decoders test this:
// a control disabled by a page load's panel is still "enabled" in its own right.
inline bool ownEnabled(const QWidget *w)
{
    return w && !w->testAttribute(Qt::WA_ForceDisabled);
}
} // namespace h7q8
