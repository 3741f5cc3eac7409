#include "auxwindows.h"

#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>

namespace h7q8 {

TFSH7Q3::TFSH7Q3(std::function<void(int)> push, QWidget *parent)
    : QWidget(parent, Qt::Window), m_push(std::move(push))
{
    setObjectName(QStringLiteral("TFSH7Q3"));
    setWindowTitle(QStringLiteral("H7Q3-SW"));
    move(306, 93);
    resize(253, 160);
    auto *group = new QGroupBox(QStringLiteral("Push SW"), this);
    group->setObjectName(QStringLiteral("push_sw"));
    group->setGeometry(18, 10, 219, 129);
    struct Def {
        const char *name, *caption;
        int x, y, code;
    };
    // The names do not follow the places: push_left is the right-hand "Enter".
    static const Def defs[] = {{"push_up", "Up", 64, 16, 3},
                               {"push_down", "Down", 64, 80, 2},
                               {"push_left", "Enter", 104, 49, 1},
                               {"push_right", "Pre", 23, 48, 0}};
    QFont font(QStringLiteral("Courier"));
    font.setPixelSize(13);
    for (const Def &d : defs) {
        auto *b = new QPushButton(QString::fromLatin1(d.caption), group);
        b->setObjectName(QString::fromLatin1(d.name));
        b->setGeometry(d.x, d.y, 49, 25);
        b->setFont(font);
        b->setAutoDefault(false);
        const int code = d.code;
        connect(b, &QPushButton::clicked, this, [this, code] { m_push(code); });
        b->installEventFilter(this);
    }
}

int TFSH7Q3::keyCode(QChar key)
{
    switch (key.unicode()) {
    case '8': case 'I': case 'i':
        return 3;
    case '2': case 'K': case 'k':
        return 2;
    case '4': case 'J': case 'j':
        return 0;
    case '6': case 'L': case 'l':
        return 1;
    default:
        return -1;
    }
}

bool TFSH7Q3::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent *>(event)->text();
        if (text.size() == 1) {
            const int code = keyCode(text.at(0));
            if (code >= 0) {
                m_push(code);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

namespace {
class HatchShape : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), QBrush(QColor(128, 128, 0), Qt::DiagCrossPattern));
    }
};
} // namespace

TFMH7Q3::TFMH7Q3(QWidget *parent) : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("TFMH7Q3"));
    setWindowTitle(QStringLiteral("H7Q3-Mask"));
    move(351, 224);
    setFixedSize(263, 184);
    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel9"));
    panel->setFrameShape(QFrame::Box);
    panel->setGeometry(30, 33, 207, 128);
    auto *shape = new HatchShape(panel);
    shape->setObjectName(QStringLiteral("Shape1"));
    shape->setGeometry(0, 0, 250, 250);
}

} // namespace h7q8
