#pragma once
// Every message box and file dialog goes through this interface, so tests can
// answer them without a modal window.

#include <QString>
#include <QStringList>

class QWidget;

namespace h7q8 {

enum class MessageButtons { OkCancel, AbortRetryIgnore, YesNo };

struct MessageRecord {
    QString text;
    QString caption;
    MessageButtons buttons;
};

class Dialogs
{
public:
    virtual ~Dialogs() = default;
    // A box whose answer is not used.
    virtual void message(const QString &text, const QString &caption, MessageButtons buttons) = 0;
    // The application's default error box (errors of the serial line, number conversions).
    virtual void error(const QString &text) = 0;
    // Yes/No question; true for Yes.
    virtual bool confirm(const QString &text, const QString &caption) = 0;
    // File dialogs; an empty result means the user cancelled.
    virtual QString openFileName(const QString &fileName, const QString &filter) = 0;
    virtual QString saveFileName(const QString &fileName, const QString &filter) = 0;
};

// The real dialogs, parented to a window.
class WidgetDialogs : public Dialogs
{
public:
    explicit WidgetDialogs(QWidget *parent) : m_parent(parent) {}
    void message(const QString &text, const QString &caption, MessageButtons buttons) override;
    void error(const QString &text) override;
    bool confirm(const QString &text, const QString &caption) override;
    QString openFileName(const QString &fileName, const QString &filter) override;
    QString saveFileName(const QString &fileName, const QString &filter) override;

private:
    QWidget *m_parent;
};

// Records every box and answers from a script; for tests and headless runs.
class ScriptedDialogs : public Dialogs
{
public:
    void message(const QString &text, const QString &caption, MessageButtons buttons) override;
    void error(const QString &text) override;
    bool confirm(const QString &text, const QString &caption) override;
    QString openFileName(const QString &fileName, const QString &filter) override;
    QString saveFileName(const QString &fileName, const QString &filter) override;

    QList<MessageRecord> messages;  // message() and error() in order; error() has caption "error"
    QStringList questions;          // confirm() texts in order
    QList<bool> confirmAnswers;     // taken front first; Yes when empty
    QStringList fileAnswers;        // taken front first; cancelled when empty

    QStringList texts() const;
    void clear() { messages.clear(); questions.clear(); }
};

// Converts the filter form "name|pattern|name|pattern" to Qt's "name (pattern);;...".
QString QtFilter(const QString &filter);

} // namespace h7q8
