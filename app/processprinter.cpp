#include "app/processprinter.h"

#include <QPrinter>

QPrinter& ProcessPrinter() {
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}
