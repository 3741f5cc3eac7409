#include "dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace h7q8 {

static QMessageBox::StandardButtons buttonsFor(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::AbortRetryIgnore:
        return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case MessageButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    }
    return QMessageBox::Ok;
}

void WidgetDialogs::message(const QString &text, const QString &caption, MessageButtons buttons)
{
    QMessageBox box(QMessageBox::Warning, caption, text, buttonsFor(buttons), m_parent);
    box.exec();
}

void WidgetDialogs::error(const QString &text)
{
    QMessageBox::critical(m_parent, QApplication::applicationName(), text);
}

bool WidgetDialogs::confirm(const QString &text, const QString &caption)
{
    return QMessageBox::question(m_parent, caption, text, QMessageBox::Yes | QMessageBox::No)
           == QMessageBox::Yes;
}

QString QtFilter(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out << QStringLiteral("%1 (%2)").arg(parts[i], parts[i + 1]);
    return out.join(QStringLiteral(";;"));
}

QString WidgetDialogs::openFileName(const QString &fileName, const QString &filter)
{
    Q_UNUSED(fileName);
    return QFileDialog::getOpenFileName(m_parent, QString(), QString(), QtFilter(filter));
}

QString WidgetDialogs::saveFileName(const QString &fileName, const QString &filter)
{
    // The overwrite question is the tool's own, asked after the dialog.
    return QFileDialog::getSaveFileName(m_parent, QString(), fileName, QtFilter(filter), nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

void ScriptedDialogs::message(const QString &text, const QString &caption, MessageButtons buttons)
{
    messages.append({text, caption, buttons});
}

void ScriptedDialogs::error(const QString &text)
{
    messages.append({text, QStringLiteral("error"), MessageButtons::OkCancel});
}

bool ScriptedDialogs::confirm(const QString &text, const QString &caption)
{
    Q_UNUSED(caption);
    questions.append(text);
    return confirmAnswers.isEmpty() ? true : confirmAnswers.takeFirst();
}

QString ScriptedDialogs::openFileName(const QString &, const QString &)
{
    return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
}

QString ScriptedDialogs::saveFileName(const QString &, const QString &)
{
    return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
}

QStringList ScriptedDialogs::texts() const
{
    QStringList out;
    for (const auto &m : messages)
        out << m.text;
    return out;
}

} // namespace h7q8
