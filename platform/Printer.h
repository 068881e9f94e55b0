#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

#include <variant>
#include <vector>

class Dialogs;

// The printer as every printout uses it. Positions are twips (1/1440 inch) from the top-left of
// the printable area of a portrait A4 page. Each document starts in Arial 10 pt, black.
class Printer
{
public:
    virtual ~Printer() = default;

    virtual void setFontName(const QString &name) = 0;
    virtual void setFontSize(double points) = 0;
    virtual void setFontBold(bool bold) = 0;
    virtual void setTextColor(const QColor &color) = 0;
    virtual void setX(int twips) = 0;
    virtual void setY(int twips) = 0;
    // Prints text at the current position; then x goes back to 0 and y down one line of the
    // current font. A line that runs on from the one above and would not fit on the page starts
    // a new page; a line placed with setY stays where it was placed.
    virtual void printLine(const QString &text = QString()) = 0;
    // The whole picture scaled into the rectangle (aspect ratio not kept).
    virtual void drawPicture(const QImage &picture, const QRect &target) = 0;
    virtual void drawLine(const QPoint &from, const QPoint &to, const QColor &color) = 0;
    // Goes on on a new page, at its top-left.
    virtual void newPage() = 0;
    // Sends the pages drawn so far; the next operation starts a new document. False when they
    // were not printed: error() then says why, or is empty when the user chose not to keep them.
    virtual bool endDocument() = 0;
    virtual QString error() const = 0;

    // Ends the document; a failure is reported in a message box.
    bool endAndReport(Dialogs &dialogs);

    // How a number is printed: a blank where a minus sign would stand, and a blank after it.
    static QString number(qint64 value);
};

// Lays out every operation of a document as a list of page items, exactly as paper takes them;
// what becomes of a finished document is the subclass's: the real printer replays it onto paper,
// the testing library's recording printer keeps it for a test to read.
class LaidOutPrinter : public Printer
{
public:
    struct Font {
        QString name = QStringLiteral("Arial");
        double points = 10;
        bool bold = false;
        bool operator==(const Font &) const = default;
    };
    struct Text {
        int page;
        QPoint at; // top-left of the line, twips
        Font font;
        QColor color;
        QString text;
    };
    struct Picture {
        int page;
        QRect target;
        QImage picture;
    };
    struct Line {
        int page;
        QPoint from, to;
        QColor color;
    };
    using Item = std::variant<Text, Picture, Line>;

    // pageHeight: the height of the printable area in twips.
    explicit LaidOutPrinter(int pageHeight);

    void setFontName(const QString &name) override { m_font.name = name; }
    void setFontSize(double points) override { m_font.points = points; }
    void setFontBold(bool bold) override { m_font.bold = bold; }
    void setTextColor(const QColor &color) override { m_color = color; }
    void setX(int twips) override { m_x = twips; }
    void setY(int twips) override
    {
        m_y = twips;
        m_placed = true;
    }
    void printLine(const QString &text = QString()) override;
    void drawPicture(const QImage &picture, const QRect &target) override;
    void drawLine(const QPoint &from, const QPoint &to, const QColor &color) override;
    void newPage() override;
    bool endDocument() override;
    QString error() const override { return m_error; }

    // The documents ended so far, each a list of items.
    const std::vector<std::vector<Item>> &documents() const { return m_documents; }
    // All texts of the last ended document, in order.
    std::vector<Text> texts(int document = -1) const;

    // The line spacing of a font in twips, as every printer here measures it.
    static int lineHeight(const Font &font);
    // The distance from the top of a line to its baseline in twips, measured the same way.
    static double ascent(const Font &font);

protected:
    // Called with each finished document; the real printer prints it here. On failure it says
    // why through setError(), unless the user chose not to print.
    virtual bool output(const std::vector<Item> &items, int pages) = 0;
    void setError(const QString &error) { m_error = error; }
    // The printable height for the document being started, asked when its first line is laid out.
    virtual int documentPageHeight() { return m_pageHeight; }
    // From now on only the last document is kept, for a printer that runs as long as the program.
    void keepLastDocumentOnly() { m_keepLastOnly = true; }

private:
    void resetDocument();

    int m_pageHeight;
    int m_documentHeight = -1; // of the document being laid out; -1 before its first line
    Font m_font;
    QColor m_color = Qt::black;
    int m_x = 0;
    int m_y = 0;
    bool m_placed = false; // y was set for the next line
    int m_page = 0;
    bool m_keepLastOnly = false;
    QString m_error;
    std::vector<Item> m_items;
    std::vector<std::vector<Item>> m_documents;
};
