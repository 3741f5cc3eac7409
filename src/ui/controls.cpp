#include "controls.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <tuple>

namespace h7q8 {

RadioGroup::RadioGroup(const QString &objectName, const QString &caption, const QStringList &items,
                       QWidget *parent, int columns)
    : QGroupBox(caption, parent)
{
    setObjectName(objectName);
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(1);
    const int cols = columns > 0 ? columns : 1;
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(items[i], this);
        button->setObjectName(objectName + QStringLiteral("_%1").arg(i));
        m_group.addButton(button, i);
        m_buttons.append(button);
        layout->addWidget(button, i / cols, i % cols);
    }
    connect(&m_group, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked && id != m_index) {
            m_index = id;
            emit itemIndexChanged(id);
        }
    });
}

void RadioGroup::setItemIndex(int index)
{
    if (m_buttons.isEmpty())
        return;
    if (index >= count())
        index = count() - 1;
    if (index < 0) {
        if (m_index < 0)
            return;
        m_group.setExclusive(false);
        m_buttons[m_index]->setChecked(false);
        m_group.setExclusive(true);
        m_index = -1;
        emit itemIndexChanged(-1);
        return;
    }
    if (index == m_index)
        return;
    m_buttons[index]->setChecked(true); // idToggled updates the index and notifies
}

QStringList RadioGroup::items() const
{
    QStringList out;
    for (auto *b : m_buttons)
        out << b->text();
    return out;
}

TrackBar::TrackBar(const QString &objectName, int minimum, int maximum, QWidget *parent)
    : QSlider(Qt::Horizontal, parent)
{
    setObjectName(objectName);
    setRange(minimum, maximum);
    setTickPosition(QSlider::TicksBelow);
    setTickInterval(1);
    setPageStep(1);
}

static QToolButton *arrowButton(Qt::ArrowType arrow, const QString &name, QWidget *parent)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setArrowType(arrow);
    b->setAutoRepeat(true);
    b->setFixedSize(16, 11);
    return b;
}

// An up arrow above a down arrow, filling `owner`; named after the owner.
static std::pair<QToolButton *, QToolButton *> arrowPair(QWidget *owner)
{
    auto *layout = new QVBoxLayout(owner);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto *up = arrowButton(Qt::UpArrow, owner->objectName() + QStringLiteral("_up"), owner);
    auto *down = arrowButton(Qt::DownArrow, owner->objectName() + QStringLiteral("_down"), owner);
    layout->addWidget(up);
    layout->addWidget(down);
    return {up, down};
}

SpinButton::SpinButton(const QString &objectName, QWidget *parent) : QWidget(parent)
{
    setObjectName(objectName);
    std::tie(m_up, m_down) = arrowPair(this);
    connect(m_up, &QToolButton::clicked, this, &SpinButton::upClick);
    connect(m_down, &QToolButton::clicked, this, &SpinButton::downClick);
}

void SpinButton::clickUp()
{
    if (isEnabled())
        emit upClick();
}

void SpinButton::clickDown()
{
    if (isEnabled())
        emit downClick();
}

UpDown::UpDown(const QString &objectName, int minimum, int maximum, int position, bool wrap,
               QLineEdit *buddy, QWidget *parent)
    : QWidget(parent), m_min(minimum), m_max(maximum), m_position(position), m_wrap(wrap),
      m_buddy(buddy)
{
    setObjectName(objectName);
    std::tie(m_up, m_down) = arrowPair(this);
    connect(m_up, &QToolButton::clicked, this, &UpDown::stepUp);
    connect(m_down, &QToolButton::clicked, this, &UpDown::stepDown);
    if (m_buddy) {
        m_buddy->setText(QString::number(m_position));
        // A number typed into the buddy becomes the position, as the arrows read it.
        connect(m_buddy, &QLineEdit::textEdited, this, [this](const QString &text) {
            bool ok = false;
            const int value = text.toInt(&ok);
            if (ok && value >= m_min && value <= m_max && value != m_position) {
                m_position = value;
                emit positionChanged(m_position);
            }
        });
    }
}

int UpDown::position() const
{
    return m_position;
}

void UpDown::setPosition(int position)
{
    position = std::clamp(position, m_min, m_max);
    if (m_buddy)
        m_buddy->setText(QString::number(position));
    if (position == m_position)
        return;
    m_position = position;
    emit positionChanged(m_position);
}

void UpDown::stepUp()
{
    if (m_position < m_max)
        setPosition(m_position + 1);
    else if (m_wrap)
        setPosition(m_min);
}

void UpDown::stepDown()
{
    if (m_position > m_min)
        setPosition(m_position - 1);
    else if (m_wrap)
        setPosition(m_max);
}

BarTimer::BarTimer(const QString &objectName, int intervalMs, QObject *parent) : QObject(parent)
{
    setObjectName(objectName);
    m_timer.setInterval(intervalMs);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_tick)
            m_tick();
    });
}

void BarTimer::arm()
{
    if (!m_timer.isActive())
        m_timer.start();
}

void BarTimer::fire()
{
    if (m_tick)
        m_tick();
}

} // namespace h7q8
