#include "printing/Afdrukken.h"

#include "core/Artwork.h"
#include "core/ProgramState.h"
#include "platform/BusyCursor.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/Pictures.h"
#include "platform/Printer.h"
#include "platform/Scale.h"
#include "platform/Services.h"
#include "platform/Waiter.h"
#include "platform/Widgets.h"
#include "printing/PageLayouts.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>

#include <optional>

using namespace Widgets;

namespace {
constexpr int kWidth = 5700;
constexpr int kHeight = 3990;
const QColor kPaper(240, 240, 230);

const Placement kLayout[] = {
    {"Frame1", 75, -15, 5490, 3495},
    {"BackA4", 180, 270, 2070, 2820},
    {"Picture1", 240, 330, 1950, 2700},
    {"Label1", 180, 3180, 1200, 195},
    {"BackScroll", 2400, 270, 315, 2835},
    {"ScrollBalk", 2430, 300, 255, 2775},
    {"CountLabel", 3000, 255, 2205, 600},
    {"Text1", 3000, 270, 1200, 285},
    {"Text2", 4320, 270, 600, 285},
    {"Label3", 3000, 630, 1890, 195},
    {"Check1", 3060, 900, 1785, 315},
    {"Combo1", 3000, 1230, 915, 315},
    {"Label4", 3990, 1275, 465, 195},
    {"Image1", 3810, 2400, 480, 480},
    {"Label2", 3570, 3000, 1800, 390},
    {"PrintKnop", 3600, 3030, 870, 330},
    {"ExitKnop", 4470, 3030, 870, 330},
};

// A year the calendar can print: a whole number from 1 to 9999, as typed.
std::optional<int> yearOf(const QString &text)
{
    bool ok = false;
    const int year = text.trimmed().toInt(&ok);
    return ok && year >= 1 && year <= 9999 ? std::optional<int>(year) : std::nullopt;
}
}

Afdrukken::Afdrukken(ProgramState &state, Services &services, QWidget *parent)
    : QDialog(parent), m_state(state), m_services(services)
{
    // The whole picture of the game, reduced to what a card's 7350 x 5120 twips hold at 300 dpi
    // (a photo in a subject is not held at full size); as the board shows it when the file is gone.
    if (!m_state.PlaatjeBestand.isEmpty())
        m_picture = Pictures::reduced(m_state.PlaatjeBestand, QSize(1531, 1067)).image;
    if (m_picture.isNull())
        m_picture = m_state.Plaatje;
    setUpWindow(this, "Afdrukken", QStringLiteral(" Adrukken"), kWidth, kHeight);
    layOut();

    for (int year = 2003; year <= 2020; ++year)
        Combo1->addItem(QString::number(year));
    Combo1->setEditText(QStringLiteral("2003"));
    // A missing subject folder lists nothing.
    m_folder = m_state.subjectDir();
    if (!m_folder.isEmpty())
        m_files = Files::matching(m_folder, {QStringLiteral("*.jpg")});
    CountLabel->setText(countText());
    showPreview();
    Scale::onChange(this, [this] { showPreview(); });
    connect(ScrollBalk, &QScrollBar::valueChanged, this, &Afdrukken::ScrollBalk_Change);
}

void Afdrukken::layOut()
{
    Frame1 = makeFrame(this, "Frame1");
    BackA4 = make<QLabel>(Frame1, "BackA4");
    setBackground(BackA4, 192, 192, 255);
    Picture1 = make<QLabel>(Frame1, "Picture1");
    Picture1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Picture1->setToolTip(QStringLiteral(" WYSIWYG "));
    Lijn = make<QFrame>(Picture1, "Lijn");
    Lijn->setGeometry(0, 0, twips(2100), twips(15));
    setBackground(Lijn, 220, 0, 0);
    Lijn->hide();
    Label1 = makeLabel(Frame1, "Label1", QStringLiteral("Print voorbeeld 1"));
    BackScroll = blackBorder(Frame1, "BackScroll");
    ScrollBalk = make<QScrollBar>(Frame1, "ScrollBalk");
    ScrollBalk->setOrientation(Qt::Vertical);
    ScrollBalk->setRange(1, 4);
    ScrollBalk->setSingleStep(1);
    ScrollBalk->setPageStep(1);
    CountLabel = makeLabel(Frame1, "CountLabel");
    CountLabel->setWordWrap(true);
    CountLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Text1 = make<QLineEdit>(Frame1, "Text1");
    Text1->setText(QStringLiteral("Nederland"));
    Text2 = make<QLineEdit>(Frame1, "Text2");
    Text2->setText(QStringLiteral("0.39"));
    Label3 = makeLabel(Frame1, "Label3", QStringLiteral("Tekst") + QString(21, QLatin1Char(' ')) + QStringLiteral("Value \u20ac"));
    Check1 = make<QCheckBox>(Frame1, "Check1");
    Check1->setChecked(true);
    Check1->setText(QStringLiteral("Zwarte kleur"));
    Combo1 = make<QComboBox>(Frame1, "Combo1");
    Combo1->setEditable(true);
    Label4 = makeLabel(Frame1, "Label4", QStringLiteral("Jaartal"));
    Image1 = make<QLabel>(Frame1, "Image1");
    Image1->setPixmap(Artwork::pixmap(QStringLiteral("afdrukken.png")));
    Label2 = blackBorder(Frame1, "Label2");
    PrintKnop = makeButton(Frame1, "PrintKnop", "Print");
    ExitKnop = makeButton(Frame1, "ExitKnop", "Exit");
    placeAll(this, kLayout);
    fitText(Label1);
    fitText(Label4);
    for (QWidget *kind3or4 : {static_cast<QWidget *>(Text1), static_cast<QWidget *>(Text2), static_cast<QWidget *>(Label3),
                              static_cast<QWidget *>(Check1), static_cast<QWidget *>(Combo1), static_cast<QWidget *>(Label4)})
        kind3or4->hide();

    connect(Check1, &QCheckBox::clicked, this, &Afdrukken::Check1_Click);
    connect(PrintKnop, &QPushButton::clicked, this, &Afdrukken::PrintKnop_Click);
    connect(ExitKnop, &QPushButton::clicked, this, &QDialog::close);
}

QString Afdrukken::countText() const
{
    return QStringLiteral("Afdrukken van alle ") + QString::number(m_files.size())
        + QStringLiteral(" plaatjes met als onderwerp ") + m_state.Onderwerp;
}

void Afdrukken::printOnPreview(QPainter &painter, int x, int y, const QString &text)
{
    // In the preview's own pixels: the painter enlarges it with the page.
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(8.25);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(x, y, 130 - x, 180 - y), Qt::AlignLeft | Qt::AlignTop, text);
}

void Afdrukken::showPreview()
{
    // Drawn at the window's scale, as sharp as the window around it.
    const double scale = Scale::factorOf(Picture1);
    m_preview = QImage(qRound(130 * scale), qRound(180 * scale), QImage::Format_RGB32);
    m_preview.fill(kPaper);
    {
        QPainter painter(&m_preview);
        painter.scale(m_preview.width() / 130.0, m_preview.height() / 180.0);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, scale != 1);
        paintPreview(painter);
    }
    Picture1->setPixmap(Scale::asPainted(QPixmap::fromImage(m_preview), Picture1));
}

void Afdrukken::paintPreview(QPainter &painter)
{
    const QImage &picture = m_picture;
    switch (Kind(m_shown)) {
    default: // 0: the page as the window was designed: the contact sheet's picture at its own size
        Artwork::draw(painter, QRectF(0, 0, 129, 181), QStringLiteral("tumb.png"));
        printOnPreview(painter, 5, 162, QStringLiteral("A4 papier"));
        printOnPreview(painter, 5, 2, QStringLiteral("Onderwerp:"));
        break;
    case Kind::Contactblad:
        Artwork::draw(painter, QRectF(0, 0, 130, 180), QStringLiteral("tumb.png"));
        printOnPreview(painter, 5, 2, QStringLiteral("Onderwerp:"));
        break;
    case Kind::Kerstkaarten:
        // At its own size, so that its slots lie exactly under the pictures.
        Artwork::draw(painter, QRectF(0, 0, 129, 181), QStringLiteral("kerst.png"));
        painter.drawImage(QRect(21, 34, 66, 44), picture);
        painter.drawImage(QRect(20, 111, 66, 44), picture);
        break;
    case Kind::Postzegels: {
        int x = 6;
        int y = 6;
        for (int n = 1; n <= 45; ++n) {
            Artwork::draw(painter, QRectF(x, y, 23, 17), QStringLiteral("stamp1.png"));
            painter.drawImage(QRect(x + 2, y + 2, 18, 12), picture);
            x += 23;
            if (n % 5 == 0) {
                x = 6;
                y += 19;
            }
        }
        break;
    }
    case Kind::Jaarkalender:
        Artwork::draw(painter, QRectF(0, 0, 129, 181), QStringLiteral("calender.png"));
        painter.drawImage(QRect(14, 20, 101, 60), picture);
        break;
    }
}

void Afdrukken::ScrollBalk_Change(int kind)
{
    BusyCursor busy;
    Label1->setText(QStringLiteral("Print voorbeeld ") + QString::number(kind));
    for (QWidget *control : {static_cast<QWidget *>(Text1), static_cast<QWidget *>(Text2), static_cast<QWidget *>(Label3),
                             static_cast<QWidget *>(Check1), static_cast<QWidget *>(Combo1), static_cast<QWidget *>(Label4),
                             static_cast<QWidget *>(CountLabel)})
        control->hide();
    switch (Kind(kind)) {
    case Kind::Contactblad:
        Q_EMIT infoRegel(QStringLiteral("Print alle plaatjes uit het onderwerp ") + m_state.Onderwerp);
        CountLabel->setText(countText());
        CountLabel->show();
        break;
    case Kind::Kerstkaarten:
        Q_EMIT infoRegel(QStringLiteral("Print twee kerstkaarten met afbeelding"));
        CountLabel->setText(QStringLiteral("Afdrukken van twee verschillende kerstkaarten met dezelfde afbeelding"));
        CountLabel->show();
        break;
    case Kind::Postzegels:
        for (QWidget *control : {static_cast<QWidget *>(Text1), static_cast<QWidget *>(Text2),
                                 static_cast<QWidget *>(Label3), static_cast<QWidget *>(Check1)})
            control->show();
        Q_EMIT infoRegel(QStringLiteral("Velletje sluitzegels van 45 stuks."));
        break;
    case Kind::Jaarkalender:
        Q_EMIT infoRegel(QStringLiteral("Jaarkalender met jaartallen tussen 2003 en 2020"));
        CountLabel->setText(
            QStringLiteral("Afdrukken van een jaarkalender met een keuze uit de jaartallen van 2003..2020"));
        fitText(CountLabel);
        CountLabel->show();
        Combo1->show();
        Label4->show();
        break;
    }
    m_shown = kind;
    showPreview();
}

void Afdrukken::Check1_Click()
{
    Check1->setText(Check1->isChecked() ? QStringLiteral("Zwarte kleur") : QStringLiteral("Witte kleur"));
}

void Afdrukken::Scannen()
{
    Label1->setText(QStringLiteral("Scanning..."));
    Lijn->show();
    for (int v = 0; v <= 180; v += 2) {
        Lijn->move(0, twips(15 * v));
        m_services.waiter.wait(0.01);
    }
    Lijn->hide();
    Label1->setText(QStringLiteral("Print voorbeeld ") + QString::number(ScrollBalk->value()));
}

void Afdrukken::PrintKnop_Click()
{
    if (m_busy.busy())
        return;
    const Kind kind = Kind(ScrollBalk->value());
    const std::optional<int> year = yearOf(Combo1->currentText());
    if (kind == Kind::Jaarkalender && !year) {
        m_services.dialogs.message(QStringLiteral("Vul een jaartal in: een heel getal van 1 tot en met 9999."),
                                   QStringLiteral("Tuurbord"), Dialogs::Icon::Stop, Dialogs::Buttons::Ok);
        return;
    }
    {
        const BusyWindow::Work work(m_busy);
        BusyCursor busy;
        Scannen();
        Printer &printer = m_services.printer;
        const QImage &picture = m_picture;
        switch (kind) {
        case Kind::Contactblad:
            PageLayouts::contactSheet(printer, m_state.Onderwerp, m_files, [this](const QString &file) {
                // A cell of 2000 x 1450 twips at 300 dpi.
                return Pictures::reduced(m_folder + QLatin1Char('/') + file, QSize(417, 302)).image;
            });
            break;
        case Kind::Kerstkaarten:
            PageLayouts::christmasCards(printer, picture, Artwork::image(QStringLiteral("kerstblauw_print.png")),
                                        Artwork::image(QStringLiteral("kerstrood_print.png")));
            break;
        case Kind::Postzegels:
            PageLayouts::stamps(printer, picture, Artwork::image(QStringLiteral("stamp1_print.png")), Text1->text(),
                                Text2->text(), Check1->isChecked());
            break;
        case Kind::Jaarkalender:
            PageLayouts::Jaarkalender(printer, *year, picture);
            break;
        }
        printer.endAndReport(m_services.dialogs);
    }
}

void Afdrukken::closeEvent(QCloseEvent *event)
{
    // Exit during the scan closes the window once the page is printed.
    m_busy.closeEvent(*event);
}
