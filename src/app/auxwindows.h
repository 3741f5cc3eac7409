#pragma once
// The push-switch panel and the mask view.

#include <QWidget>

#include <functional>

class QPushButton;

namespace h7q8 {

// Presses the camera's push switches from the PC: four buttons and a key map.
class TFSH7Q3 : public QWidget
{
    Q_OBJECT
public:
    // `push` sends one push code (the main window's SW_push).
    TFSH7Q3(std::function<void(int)> push, QWidget *parent);

    // The key map shared by the four buttons; -1 for a key it does not map.
    static int keyCode(QChar key);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<void(int)> m_push;
};

// A small window with a hatched picture area; created hidden, kept for its shape.
class TFMH7Q3 : public QWidget
{
    Q_OBJECT
public:
    explicit TFMH7Q3(QWidget *parent);
};

} // namespace h7q8
