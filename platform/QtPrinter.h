#pragma once

#include "platform/Printer.h"

#include <QPageLayout>
#include <QString>

#include <optional>

class Dialogs;
class QPrinter;

// The printer on paper: each finished document is replayed onto a QPrinter whose painter is
// scaled so that one unit is one twip, with the origin at the top-left of the printable area.
// When there is no printer, or it does not take the job, the user is told so and may keep the
// pages as a PDF file instead.
class QtPrinter : public LaidOutPrinter
{
public:
    // Where the pages go.
    class Destination
    {
    public:
        enum class Kind { DefaultPrinter, Queue, PdfFile, NoPrinter };

        // The system's default printer at the moment a document ends (what the program uses).
        static Destination defaultPrinter() { return {Kind::DefaultPrinter, {}}; }
        // A CUPS queue by name; one that does not exist counts as no printer.
        static Destination queue(const QString &name) { return {Kind::Queue, name}; }
        // Straight into a PDF file, without asking anything.
        static Destination pdfFile(const QString &path) { return {Kind::PdfFile, path}; }
        // As if no printer were installed: every document goes the way of the missing printer.
        static Destination noPrinter() { return {Kind::NoPrinter, {}}; }

        Kind kind() const { return m_kind; }
        // The queue name or the file path.
        const QString &name() const { return m_name; }

    private:
        Destination(Kind kind, const QString &name) : m_kind(kind), m_name(name) {}
        Kind m_kind;
        QString m_name;
    };

    // The dialogs show the missing-printer message and ask for the PDF file name.
    explicit QtPrinter(Dialogs &dialogs, const Destination &destination = Destination::defaultPrinter());

    // A4 portrait, its margins the smallest the printer states (its printable area; none for a
    // PDF file). It is asked for when a document starts (the page breaks are laid out against
    // it), never at start-up: a printer that is slow to answer must not hold up the game.
    const QPageLayout &pageLayout() const;

    // What the user reads when no printer is there or it does not take the job.
    static QString noPrinterText();
    // The file name proposed for keeping the pages instead, in the home folder.
    static QString pdfProposal();

protected:
    bool output(const std::vector<Item> &items, int pages) override;
    int documentPageHeight() override;

private:
    static QPageLayout layoutFor(const Destination &destination);

    bool deliver(const std::vector<Item> &items, int pages);
    bool printToPrinter(const std::vector<Item> &items, int pages);
    bool printToPdf(const std::vector<Item> &items, int pages, const QString &path);
    // Why the pages did not come out, or the empty string.
    QString paint(QPrinter &printer, const std::vector<Item> &items, int pages) const;

    Dialogs &m_dialogs;
    Destination m_destination;
    mutable std::optional<QPageLayout> m_layout;
};
