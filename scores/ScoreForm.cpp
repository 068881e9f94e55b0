#include "scores/ScoreForm.h"

#include "core/ProgramState.h"
#include "core/ScoreEntry.h"
#include "platform/BusyCursor.h"
#include "platform/Dialogs.h"
#include "platform/Printer.h"
#include "platform/Services.h"
#include "platform/Widgets.h"

#include <QFrame>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>

using namespace Widgets;

namespace {
// Label1, the count text, is placed by its text each time it changes.
const Placement kLayout[] = {
    {"Frame1", 60, -15, 3405, 6190},
    {"List1", 120, 210, 3150, 4620},
    {"BackKnoppen", 120, 4950, 3165, 360},
    {"DelKnop", 150, 4980, 1545, 300},
    {"PrintKnop", 1690, 4980, 1560, 300},
    {"ExitLabel", 2550, 5730, 750, 360},
    {"ExitKnop", 2580, 5760, 690, 300},
};
}

ScoreForm::ScoreForm(ProgramState &state, Services &services, QWidget *parent)
    : QDialog(parent), m_state(state), m_services(services)
{
    setUpWindow(this, "ScoreForm", QStringLiteral(" Scorelijst"), 3600, 6690);
    Frame1 = makeFrame(this, "Frame1");

    List1 = make<QListWidget>(Frame1, "List1");
    List1->setUniformItemSizes(true);
    List1->setFont(makeFont("Arial", 9.75));
    setBackground(List1, 200, 210, 230);

    BackKnoppen = blackBorder(Frame1, "BackKnoppen");
    DelKnop = makeButton(Frame1, "DelKnop", "Verwijderen");
    PrintKnop = makeButton(Frame1, "PrintKnop", "Afdrukken");

    Label1 = make<QLabel>(Frame1, "Label1");
    Label1->setFont(makeFont("MS Sans Serif", 9.75, true));
    setTextColor(Label1, 0, 64, 64);

    ExitLabel = blackBorder(Frame1, "ExitLabel");
    ExitKnop = makeButton(Frame1, "ExitKnop", "Exit");

    placeAll(this, kLayout);

    connect(DelKnop, &QPushButton::clicked, this, &ScoreForm::DelKnop_Click);
    connect(PrintKnop, &QPushButton::clicked, this, &ScoreForm::PrintKnop_Click);
    connect(ExitKnop, &QPushButton::clicked, this, &QDialog::accept);

    QStringList bestFirst = m_state.Scorelijst.entries();
    std::reverse(bestFirst.begin(), bestFirst.end());
    List1->addItems(bestFirst);
    showCount(QStringLiteral("1 naam in de scorelijst"), QStringLiteral(" namen in de scorelijst"));
}

void ScoreForm::showCount(const QString &one, const QString &many)
{
    Label1->setText(List1->count() == 1 ? one : QString::number(List1->count()) + many);
    placeAt(Label1, 150, 5400);
}

void ScoreForm::DelKnop_Click()
{
    QListWidgetItem *selected = List1->currentItem();
    if (selected && !selected->isSelected())
        selected = nullptr;
    QString name = selected ? ScoreEntry::name(selected->text()) : QString();
    if (name.isEmpty())
        name = QStringLiteral("...");
    if (m_services.dialogs.message(QStringLiteral("Wil je ") + name + QStringLiteral(" verwijderen uit de lijst?"),
                                   QStringLiteral(" Delete"), Dialogs::Icon::None, Dialogs::Buttons::YesNo)
        != Dialogs::Answer::Yes)
        return;
    if (!selected) {
        m_services.dialogs.message(QStringLiteral("Eerst een naam selecteren..."), QStringLiteral(" Foutje"),
                                   Dialogs::Icon::None, Dialogs::Buttons::Ok);
        return;
    }
    const int k = List1->row(selected);
    const QString text = selected->text();
    delete List1->takeItem(k);
    // The list would select the next entry, and a second Verwijderen (Yes is the default
    // answer) would then remove another child's score.
    List1->setCurrentItem(nullptr);
    List1->clearSelection();
    Q_EMIT infoRegel(text + QStringLiteral(" /  ") + QString::number(k));
    const qsizetype index = m_state.Scorelijst.indexOf(text);
    if (index >= 0) {
        m_state.Scorelijst.removeAt(index);
        showCount(QStringLiteral("1 naam in lijst"), QStringLiteral(" namen in lijst"));
    }
}

void ScoreForm::PrintKnop_Click()
{
    if (m_services.dialogs.message(QStringLiteral("Wil je nu de Score-lijst afdrukken?"), QStringLiteral(" Print"),
                                   Dialogs::Icon::None, Dialogs::Buttons::YesNo)
        != Dialogs::Answer::Yes)
        return;
    BusyCursor busy;
    QStringList bestFirst;
    bestFirst.reserve(List1->count());
    for (int i = 0; i < List1->count(); ++i)
        bestFirst << List1->item(i)->text();
    printList(m_services.printer, bestFirst);
    m_services.printer.endAndReport(m_services.dialogs);
}

void ScoreForm::printList(Printer &printer, const QStringList &bestFirst)
{
    printer.setFontName(QStringLiteral("Arial"));
    printer.setFontBold(true);
    printer.setFontSize(14);
    printer.setTextColor(QColor(192, 0, 0));
    printer.printLine();
    printer.printLine(QStringLiteral("   Score-lijst Tuurbord"));
    for (int i = 0; i < 4; ++i)
        printer.printLine();
    printer.setY(1200);
    printer.setFontSize(12);
    printer.setFontBold(false);
    printer.setTextColor(QColor(60, 60, 60));
    for (qsizetype i = 0; i < bestFirst.size(); ++i) {
        const QString &entry = bestFirst.at(i);
        printer.setX(300);
        printer.printLine(QStringLiteral("Op de ") + QString::number(i + 1) + QStringLiteral("e plaats staat... ")
                          + ScoreEntry::name(entry) + QStringLiteral(" met ") + ScoreEntry::points(entry)
                          + QStringLiteral(" punten."));
        if (i == 8 || i == 98)
            printer.printLine();
    }
}
