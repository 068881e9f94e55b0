#include "import/Fileform.h"

#include "core/ProgramState.h"
#include "import/ImportRules.h"
#include "platform/BusyCursor.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/Pictures.h"
#include "platform/Scale.h"
#include "platform/Services.h"
#include "platform/Waiter.h"
#include "platform/Widgets.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QFrame>
#include <QIconEngine>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>

using namespace Widgets;

namespace {
constexpr int kWidth = 9900;
constexpr int kHeight = 6720;
// Drive1, Dir1 and File1 lie on the window, over Frame1; the filter options are placed by rule.
const Placement kLayout[] = {
    {"Frame1", 75, -15, 3495, 6210},
    {"Frame2", 3660, -15, 6105, 6210},
    {"Drive1", 180, 180, 3300, 0},
    {"Dir1", 180, 630, 3285, 1875},
    {"SizeLabel", 150, 2595, 0, 0},
    {"File1", 165, 2835, 3315, 2340},
    {"Text1", 90, 5265, 3300, 315},
    {"Bar", 90, 5265, 3300, 315},
    {"BackKnoppen", 90, 5730, 3315, 390},
    {"Save1Knop", 120, 5760, 1620, 330},
    {"Save2Knop", 1740, 5760, 1635, 330},
    {"BackLabel", 105, 195, 5490, 3990},
    {"ShowPic", 195, 285, 5310, 3810},
    {"HoLabel", 5685, 195, 300, 3990},
    {"Hoscroll", 5715, 225, 240, 3930},
    {"Brlabel", 105, 4290, 5490, 300},
    {"Brscroll", 135, 4320, 5430, 240},
    {"ProgressBar", 120, 4305, 5460, 270},
    {"HelpLabel", 5685, 4290, 315, 315},
    {"HelpKnop", 5715, 4320, 255, 255},
    {"Label3", 120, 5810, 0, 0},
    {"ExitLabel", 5235, 5730, 750, 360},
    {"ExitKnop", 5265, 5760, 690, 300},
};


QString joined(const QString &folder, const QString &name)
{
    return folder.endsWith(QLatin1Char('/')) ? QString(folder + name) : QString(folder + QLatin1Char('/') + name);
}

// The folder and file lists of old answer the keys as their mouse clicks: a selection moved with
// the keys is a click on the entry, and Return on an entry is a double-click.
class BrowseList : public QListWidget
{
public:
    using QListWidget::QListWidget;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
            Q_EMIT itemDoubleClicked(currentItem());
            return;
        }
        QListWidgetItem *before = currentItem();
        QListWidget::keyPressEvent(event);
        if (currentItem() && currentItem() != before)
            Q_EMIT itemClicked(currentItem());
    }
};

// A folder of the folder list, drawn at the size asked: the style's folder pictures come at 16
// pixels only, a speck on the digibord.
class FolderIcon : public QIconEngine
{
public:
    explicit FolderIcon(bool open) : m_open(open) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode, QIcon::State) override
    {
        // On a grid of 16 by 16, as the style's own pictures are drawn.
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / 16.0, rect.height() / 16.0);
        painter->setPen(QPen(QColor(40, 80, 140), 1));
        painter->setBrush(QColor(95, 145, 205));
        QPainterPath back(QPointF(1.5, 3.5));
        back.lineTo(6, 3.5);
        back.lineTo(7.5, 5);
        back.lineTo(14.5, 5);
        back.lineTo(14.5, 13.5);
        back.lineTo(1.5, 13.5);
        back.closeSubpath();
        painter->drawPath(back);
        painter->setBrush(QColor(150, 195, 240));
        if (m_open)
            painter->drawPolygon(QPolygonF({{3.5, 7.5}, {15.5, 7.5}, {13.5, 13.5}, {1.5, 13.5}}));
        else
            painter->drawRect(QRectF(1.5, 6.5, 13, 7));
        painter->restore();
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap picture(size);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        paint(&painter, QRect(QPoint(), size), mode, state);
        return picture;
    }

    QIconEngine *clone() const override { return new FolderIcon(m_open); }

private:
    bool m_open;
};

// A scroll bar of the old kind: its maximum may lie below its minimum, and its values then run
// from the minimum down to the maximum.
void setRange(QScrollBar *bar, int minimum, int maximum)
{
    bar->setInvertedAppearance(maximum < minimum);
    bar->setRange(std::min(minimum, maximum), std::max(minimum, maximum));
}
}

Fileform::Fileform(ProgramState &state, Services &services, QWidget *parent)
    : QDialog(parent), m_state(state), m_services(services), m_filters(services.random)
{
    setUpWindow(this, "Fileform", QStringLiteral(" Import Picture"), kWidth, kHeight);
    layOut();
    m_filters.setEventPump([](int) { QCoreApplication::processEvents(); });
    // Nothing loaded yet: the size label keeps its "0 x 0" until a folder is changed.
    showFolder(QDir::currentPath());
    showDrive();
}

void Fileform::showDrive()
{
    // The place the lists' folder lies in.
    qsizetype longest = -1;
    for (int i = 0; i < Drive1->count(); ++i) {
        const QString root = Drive1->itemData(i).toString();
        if ((m_folder == root || m_folder.startsWith(joined(root, QString()))) && root.size() > longest) {
            longest = root.size();
            Drive1->setCurrentIndex(i);
        }
    }
}

void Fileform::layOut()
{
    Frame1 = makeFrame(this, "Frame1");
    SizeLabel = makeLabel(Frame1, "SizeLabel", QStringLiteral("Grootte: 0 x 0 pixels"));
    Text1 = make<QLineEdit>(Frame1, "Text1");
    setBackground(Text1, 220, 230, 140);
    Bar = make<QLabel>(Frame1, "Bar");
    setBackground(Bar, 140, 170, 110);
    Bar->hide();
    BackKnoppen = blackBorder(Frame1, "BackKnoppen");
    Save1Knop = makeButton(Frame1, "Save1Knop", "Save Orgineel");
    Save1Knop->setToolTip(QStringLiteral(" Orginele grootte van plaatje opslaan "));
    Save2Knop = makeButton(Frame1, "Save2Knop", "Macro opname");
    Save2Knop->setToolTip(QStringLiteral(" Plaatje opslaan zoals afgebeeld "));

    Drive1 = make<QComboBox>(this, "Drive1");
    // Plain, closed and open, instead of the style's shaded button; it opens as a list below it. A
    // style sheet's measures are pixels: they follow the window's scale.
    const auto styleDrive = [this] {
        const auto px = [scale = Scale::factorOf(Drive1)](double atOne) { return std::max(1L, std::lround(atOne * scale)); };
        Drive1->setStyleSheet(QStringLiteral("QComboBox { background: rgb(220, 230, 230); border: %1px solid rgb(140, 150, 150);"
                                             " padding: %2px 0 %2px %3px; combobox-popup: 0; }"
                                             " QComboBox::drop-down { width: %4px; }"
                                             " QComboBox::down-arrow { width: %5px; height: %5px; }"
                                             " QComboBox QAbstractItemView { background: rgb(220, 230, 230); }")
                                  .arg(px(1)).arg(px(2)).arg(px(3)).arg(px(16)).arg(px(9)));
    };
    Dir1 = make<BrowseList>(this, "Dir1");
    const auto followScale = [this, styleDrive] {
        styleDrive();
        Dir1->setIconSize(QSize(16, 16) * Scale::factorOf(Dir1));
    };
    followScale();
    Scale::onChange(this, followScale);
    File1 = make<BrowseList>(this, "File1");
    for (QWidget *list : {static_cast<QWidget *>(Dir1), static_cast<QWidget *>(File1)})
        setBackground(list, 220, 230, 230);

    Frame2 = makeFrame(this, "Frame2");
    BackLabel = makeLabel(Frame2, "BackLabel");
    BackLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    BackLabel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    BackLabel->setLineWidth(twips(15));
    ShowPic = make<QLabel>(Frame2, "ShowPic");
    ShowPic->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setBackground(ShowPic, 224, 224, 224);
    HoLabel = make<QLabel>(Frame2, "HoLabel");
    Hoscroll = make<QScrollBar>(Frame2, "Hoscroll");
    Hoscroll->setOrientation(Qt::Vertical);
    Brlabel = make<QLabel>(Frame2, "Brlabel");
    Brscroll = make<QScrollBar>(Frame2, "Brscroll");
    Brscroll->setOrientation(Qt::Horizontal);
    for (QScrollBar *bar : {Hoscroll, Brscroll}) {
        bar->setRange(0, 32767);
        bar->setSingleStep(1);
        bar->setPageStep(1);
    }
    ProgressBar = make<QProgressBar>(Frame2, "ProgressBar");
    ProgressBar->setRange(0, 100);
    ProgressBar->setValue(0);
    ProgressBar->hide();
    HelpLabel = blackBorder(Frame2, "HelpLabel");
    HelpKnop = makeButton(Frame2, "HelpKnop", "?");
    HelpKnop->setToolTip(QStringLiteral(" Uitleg bij importeren "));
    int left = 240;
    int top = 4830;
    for (const Filters::Optie &optie : Filters::opties()) {
        auto *option = make<QRadioButton>(Frame2, qPrintable(QStringLiteral("OptionFilter_%1").arg(optie.index)));
        option->setText(QString::fromUtf8(optie.caption));
        placeAt(option, left, top);
        option->resize(option->width(), twips(225));
        connect(option, &QRadioButton::clicked, this, [this, i = optie.index] { OptionFilter_Click(i); });
        OptionFilter[size_t(optie.index)] = option;
        top += 270;
        if (top > 5500) {
            left += 1515;
            top = 4830;
        }
    }
    Label3 = makeLabel(Frame2, "Label3", QStringLiteral("Plaatjes opslaan naar map ") + m_state.Onderwerp);
    ExitLabel = blackBorder(Frame2, "ExitLabel");
    ExitKnop = makeButton(Frame2, "ExitKnop", "Exit");
    placeAll(this, kLayout);
    for (QWidget *list : {static_cast<QWidget *>(Drive1), static_cast<QWidget *>(Dir1), static_cast<QWidget *>(File1)})
        list->raise();
    ShowPic->raise();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &Fileform::Timer1_Timer);
    Timer1->start();

    const QList<Files::Place> places = Files::places();
    for (const Files::Place &place : places)
        Drive1->addItem(place.name, place.path);
    m_watcher = new QFileSystemWatcher(this);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &Fileform::fillLists);
    connect(Drive1, &QComboBox::activated, this, &Fileform::Drive1_Change);
    connect(Dir1, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { openFolder(item->data(Qt::UserRole).toString()); });
    connect(File1, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) { File1_Click(item->text()); });
    connect(Hoscroll, &QScrollBar::valueChanged, this, &Fileform::redraw);
    connect(Brscroll, &QScrollBar::valueChanged, this, &Fileform::redraw);
    connect(HelpKnop, &QPushButton::clicked, this, &Fileform::HelpKnop_Click);
    connect(Save1Knop, &QPushButton::clicked, this, [this] { Save_Click(true); });
    connect(Save2Knop, &QPushButton::clicked, this, [this] { Save_Click(false); });
    connect(ExitKnop, &QPushButton::clicked, this, &QDialog::close);
}

void Fileform::message(const QString &text, bool stop, const QString &title)
{
    m_services.dialogs.message(text, title, stop ? Dialogs::Icon::Stop : Dialogs::Icon::None, Dialogs::Buttons::Ok);
}

void Fileform::Drive1_Change(int index)
{
    const QString path = Drive1->itemData(index).toString();
    const QFileInfo drive(path);
    if (!drive.isDir() || !drive.isReadable() || !drive.isExecutable()) {
        message(QStringLiteral("Kan deze drive niet openen!"), false, QStringLiteral("Tuurbord"));
        showDrive();
        return;
    }
    openFolder(path);
}

void Fileform::openFolder(const QString &path)
{
    showFolder(path);
    SizeLabel->setText(QString::number(File1->count()) + QStringLiteral(" Bestanden"));
    SizeLabel->adjustSize();
}

void Fileform::showFolder(const QString &path)
{
    m_folder = QDir::cleanPath(QDir(path).absolutePath());
    if (!m_watcher->directories().isEmpty())
        m_watcher->removePaths(m_watcher->directories());
    m_watcher->addPath(m_folder);
    fillLists();
}

void Fileform::fillLists()
{
    // The folder list of old: every folder from the top down to this one, then its sub-folders.
    Dir1->clear();
    const QIcon open(new FolderIcon(true));
    const QIcon closed(new FolderIcon(false));
    QStringList parts = m_folder.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString path = QStringLiteral("/");
    auto add = [this](const QIcon &icon, const QString &name, const QString &target, int depth) {
        auto *item = new QListWidgetItem(icon, QString(depth * 2, QLatin1Char(' ')) + name, Dir1);
        item->setData(Qt::UserRole, target);
    };
    add(open, QStringLiteral("/"), path, 0);
    for (int depth = 0; depth < parts.size(); ++depth) {
        path = joined(path, parts.at(depth));
        add(open, parts.at(depth), path, depth + 1);
    }
    Dir1->setCurrentRow(Dir1->count() - 1);
    for (const QString &sub : Files::subFolders(m_folder))
        add(closed, sub, joined(m_folder, sub), int(parts.size()) + 1);

    File1->clear();
    File1->addItems(Files::pictureFiles(m_folder));
}

void Fileform::File1_Click(const QString &fileName)
{
    if (m_busy.busy())
        return;
    BusyCursor busy;
    Pictures::Loaded loaded = Pictures::whole(joined(m_folder, fileName));
    if (!loaded.ok()) {
        qWarning("%s: %s", qPrintable(joined(m_folder, fileName)), qPrintable(loaded.error));
        message(QStringLiteral("Fout bij laden picture..."), false, QStringLiteral("Tuurbord"));
        return;
    }
    // One decoded picture, filtered in place: "Save Orgineel" needs of the unfiltered one only
    // its reduction, made now, so that no second copy of a large photo is ever kept.
    m_orgineel = ImportRules::asWords(loaded.image);
    loaded.image = QImage();
    m_kleinPic = ImportRules::wholeScaled(m_orgineel);
    SizeLabel->setText(QStringLiteral("Grootte: %1 x %2 pixels").arg(m_orgineel.width()).arg(m_orgineel.height()));
    SizeLabel->adjustSize();
    showPreview(ImportRules::preview(m_orgineel, 0, 0));
    if (const ImportRules::Range range = ImportRules::across(m_orgineel.width()); range.changes) {
        setRange(Brscroll, 0, range.maximum);
        Brscroll->setValue(0);
    }
    if (const ImportRules::Range range = ImportRules::down(m_orgineel.height()); range.changes) {
        setRange(Hoscroll, 0, range.maximum);
        Hoscroll->setValue(0);
    }
    Text1->setText(ImportRules::proposedName(fileName));
    m_plaatjeGeladen = true;
}

void Fileform::redraw()
{
    showPreview(ImportRules::preview(m_orgineel, Brscroll->value(), Hoscroll->value()));
}

void Fileform::showPreview(const QImage &preview)
{
    m_preview = preview;
    ShowPic->setPixmap(QPixmap::fromImage(m_preview));
}

QString Fileform::helpText()
{
    const char *const lines[] = {
        "",
        "     Information about import of pictures.",
        "     ----------------------------------------------------",
        "     You can import any picture, photo or clipart with extension",
        "     Jpg, Bmp or Gif and save them to the size 354 x 254 pixels.",
        "     The folder for these pictures is variable, you can change",
        "     and add folders with the menu-item Tools.",
        "", "", "", "", "",
        "     Close this textwindow with the same button.",
    };
    QString text;
    for (const char *line : lines)
        text += QLatin1String(line) + QStringLiteral("\r\n");
    return text;
}

void Fileform::HelpKnop_Click()
{
    if (ShowPic->isVisible()) {
        BackLabel->setText(helpText());
        ShowPic->hide();
    } else {
        ShowPic->show();
    }
}

void Fileform::Timer1_Timer()
{
    ProgressBar->setValue(m_filters.Voortgang());
    if (m_filters.Voortgang() == 100) {
        ProgressBar->setValue(0);
        Timer1->stop();
    }
}

void Fileform::OptionFilter_Click(int index)
{
    {
        const BusyWindow::Work work(m_busy);
        BusyCursor busy;
        ProgressBar->show();
        Timer1->start();
        // The engine ignores a second filter while one runs; the rest of the steps still run.
        m_filters.pasOptieToe(index, m_orgineel);
        showPreview(ImportRules::preview(m_orgineel, 0, 0));
        Hoscroll->setValue(0);
        Brscroll->setValue(0);
        ProgressBar->hide();
    }
}

void Fileform::Save_Click(bool whole)
{
    if (m_busy.busy())
        return;
    const QString name = Text1->text();
    if (name.isEmpty()) {
        message(QStringLiteral("Eerst een naam invullen voor dit plaatje!"), true, QStringLiteral(" Error"));
        Text1->setFocus();
        return;
    }
    if (!m_plaatjeGeladen) {
        message(QStringLiteral("Eerst een plaatje laden!"), true, QStringLiteral(" Error"));
        return;
    }
    const QString notFound = QStringLiteral("Kan onderwerp of map ") + m_state.Onderwerp + QStringLiteral(" niet vinden!");
    const QString folder = m_state.subjectDir();
    // Never a name that leaves the subject folder, one that another computer could not store, or one
    // longer than a file name can be.
    if (folder.isEmpty() || !Files::isPortableName(name)
        || (name + QStringLiteral(".jpg")).toUtf8().size() > Files::kMaxNameBytes) {
        message(notFound, false, QStringLiteral("Tuurbord"));
        return;
    }
    // KOE.JPG is the picture koe: saving koe replaces it, so that one picture remains.
    QString target = Files::findEntry(folder, name + QStringLiteral(".jpg"));
    if (!target.isEmpty()) {
        if (m_services.dialogs.message(QStringLiteral("Naam [ ") + name + QStringLiteral(" ] bestaat reeds, overschrijven?"),
                                       QStringLiteral(" File Exist"), Dialogs::Icon::None, Dialogs::Buttons::YesNo)
            != Dialogs::Answer::Yes)
            return;
    } else {
        target = joined(folder, name + QStringLiteral(".jpg"));
    }

    // Busy until the outcome is told: a close asked for meanwhile comes after it.
    const BusyWindow::Work work(m_busy);
    Files::Outcome saved;
    {
        BusyCursor busy;
        QPixmap lines(Bar->size());
        lines.fill(QColor(140, 170, 110));
        Bar->setPixmap(Scale::asPainted(lines, Bar));
        Bar->show();
        Bar->raise();
        // In the window's pixels at scale 1, one a line.
        const double scale = Scale::factorOf(Bar);
        for (int i = 0; i <= 3180; i += 30) {
            {
                QPainter painter(&lines);
                painter.scale(scale, scale);
                painter.setPen(QPen(QColor(255, i / 15, 20), 1));
                painter.drawLine(QLineF(i / 15, 1, i / 15, 16));
            }
            Bar->setPixmap(Scale::asPainted(lines, Bar));
            m_services.waiter.wait(0.01);
        }
        const QImage picture = whole ? m_kleinPic : m_preview;
        saved = Pictures::saveJpeg(picture, target, m_state.Kwaliteit);
        Bar->hide();
    }
    if (!saved.ok()) {
        qWarning("%s: %s", qPrintable(target), qPrintable(saved.error));
        // A name this folder's file system refuses (a USB stick's) is told as any name that cannot be.
        if (saved.reason == Files::Outcome::Reason::NameNotAllowed)
            message(notFound, false, QStringLiteral("Tuurbord"));
        else
            message(QStringLiteral("Fout bij opslaan van het plaatje!\nReden: ") + saved.reasonText() + QLatin1Char('.'),
                    false, QStringLiteral("Tuurbord"));
    }
}

void Fileform::closeEvent(QCloseEvent *event)
{
    // A filter or a save still holds the pictures: the window closes once it has finished.
    m_busy.closeEvent(*event);
}
