#pragma once

#include "print/pageprinter.h"

#include <QObject>

#include <memory>

class TextTables;

// What the print component's root object implements: the printer, with Qt Print Support.
class PagePrinterFactory {
public:
    virtual ~PagePrinterFactory() = default;
    virtual std::unique_ptr<PagePrinter> newPagePrinter() = 0;
};

#define VASKELIO_PAGEPRINTER_IID "org.vaskelio.PagePrinterFactory/1"
Q_DECLARE_INTERFACE(PagePrinterFactory, VASKELIO_PAGEPRINTER_IID)

inline constexpr char kPrintComponent[] = "vaskelio-print";

// The print component's printer, loaded at the first job so that printing costs the start-up
// nothing. Without the component every job fails with a message that says so.
class ComponentPagePrinter : public PagePrinter {
public:
    // texts: the tables the message about a missing component is read from.
    explicit ComponentPagePrinter(const TextTables &texts);
    ~ComponentPagePrinter() override;

    Status printPages(const QList<QWidget *> &pages) override;
    Result<PrintOutcome> choosePrinterAndPrint(const QList<QWidget *> &pages) override;

private:
    // The component's printer, loaded at the first call; null without the component.
    PagePrinter *printer();

    const TextTables &texts_;
    std::unique_ptr<PagePrinter> printer_;
};
