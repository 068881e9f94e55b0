#pragma once

#include <QString>

// Message boxes and input boxes, behind an interface so that tests can answer them.
class Dialogs
{
public:
    enum class Icon { None, Stop };
    enum class Buttons { Ok, YesNo };
    enum class Answer { Ok, Yes, No };

    virtual ~Dialogs() = default;
    virtual Answer message(const QString &text, const QString &title, Icon icon, Buttons buttons) = 0;
    // Returns the typed text, or the empty string when the user cancels.
    virtual QString input(const QString &prompt, const QString &title) = 0;
    // Asks where to save a file; returns the chosen path or the empty string.
    virtual QString saveFileName(const QString &title, const QString &proposal, const QString &filter) = 0;
};

class QWidget;

// The real boxes, shown modally over the given window (or the active one).
class QtDialogs : public Dialogs
{
public:
    explicit QtDialogs(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }

    Answer message(const QString &text, const QString &title, Icon icon, Buttons buttons) override;
    QString input(const QString &prompt, const QString &title) override;
    QString saveFileName(const QString &title, const QString &proposal, const QString &filter) override;

private:
    QWidget *parentWidget() const;
    QWidget *m_parent;
};
