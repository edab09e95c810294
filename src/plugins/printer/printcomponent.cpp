#include "printer/printcomponent.h"

#include "printer/qtpageprinter.h"

std::unique_ptr<PagePrinter> PrintComponent::newPagePrinter()
{
    return std::make_unique<QtPagePrinter>();
}
