#include "scores/Oplossing.h"

#include "core/ProgramState.h"
#include "platform/Services.h"
#include "platform/Sound.h"
#include "platform/Waiter.h"
#include "platform/Widgets.h"
#include "core/ScoreEntry.h"

#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

using namespace Widgets;

namespace {
const QColor kRest(200, 210, 220);

const Placement kLayout[] = {
    {"Frame1", 60, -30, 5175, 1140},
    {"Text1", 150, 240, 3990, 345},
    {"Label1", 4260, 240, 780, 750},
    {"OkKnop", 4290, 270, 720, 345},
    {"CancelKnop", 4290, 615, 720, 345},
    {"Label2", 150, 720, 4050, 300},
};
}

Oplossing::Oplossing(ProgramState &state, Services &services, QWidget *parent)
    : QDialog(parent), m_state(state), m_services(services)
{
    setUpWindow(this, "Oplossing", QStringLiteral(" Oplossing"), 5400, 1650);
    Frame1 = makeFrame(this, "Frame1");

    Text1 = make<QLineEdit>(Frame1, "Text1");
    Text1->setMaxLength(ScoreEntry::kMaxName);
    Text1->setFont(makeFont("Arial", 11.25));
    setBackground(Text1, kRest.red(), kRest.green(), kRest.blue());

    Label1 = blackBorder(Frame1, "Label1");

    // Neither is a default button: Enter and Escape do nothing special here.
    OkKnop = makeButton(Frame1, "OkKnop", "Ok");
    CancelKnop = makeButton(Frame1, "CancelKnop", "Exit");
    connect(OkKnop, &QPushButton::clicked, this, &Oplossing::OkKnop_Click);
    connect(CancelKnop, &QPushButton::clicked, this, &Oplossing::CancelKnop_Click);

    Label2 = makeLabel(Frame1, "Label2", QStringLiteral("Typ de naam van het plaatje in en druk op de knop Ok"));
    setTextColor(Label2, 64, 64, 64);
    placeAll(this, kLayout);

    Text1->setFocus();
}

void Oplossing::flash(int r, int g, int b, const QString &text)
{
    for (int round = 0; round < 3; ++round) {
        setBackground(Text1, r, g, b);
        Text1->setText(text);
        m_services.waiter.wait(0.6);
        setBackground(Text1, kRest.red(), kRest.green(), kRest.blue());
        Text1->setText(QString());
        m_services.waiter.wait(0.4);
    }
}

void Oplossing::OkKnop_Click()
{
    // Clicks during the flashes would judge the flashing text, or close the window half way.
    if (m_flashing || !OkKnop->isEnabled())
        return;
    m_flashing = true;
    Q_EMIT beantwoord(Text1->text());
    if (m_state.Geraden) {
        m_services.sound.speel(QStringLiteral("goed.wav"));
        CancelKnop->setEnabled(false);
        flash(0, 250, 0, QStringLiteral("Het antwoord is goed geraden..."));
        m_flashing = false;
        m_closing = true;
        accept();
        return;
    }
    m_services.sound.speel(QStringLiteral("fout.wav"));
    OkKnop->setEnabled(false);
    flash(250, 90, 0, QStringLiteral("Het antwoord is helaas fout..."));
    Label2->setText(QStringLiteral("Typ hierboven jouw naam in en druk op knop Exit"));
    // The disabled Ok button has taken the focus away: give it back so the name can be typed.
    Text1->setFocus();
    Q_EMIT wordCleared();
    m_flashing = false;
}

void Oplossing::CancelKnop_Click()
{
    if (m_flashing)
        return;
    if (!m_state.SpelBezig) {
        Q_EMIT naamGegeven(Text1->text());
        Q_EMIT gameEnded();
    }
    m_closing = true;
    reject();
}

void Oplossing::closeEvent(QCloseEvent *event)
{
    // The title bar's close acts as "Exit", and waits for the flashes like the buttons do.
    if (m_closing) {
        event->accept();
        return;
    }
    event->ignore();
    if (!m_flashing && CancelKnop->isEnabled())
        CancelKnop_Click();
}

void Oplossing::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
