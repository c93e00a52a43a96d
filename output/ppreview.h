#pragma once
// The print preview control: a preview table (the properties pPrintType …
// pShowCount and the operations pSetColWidth … pSetCell of PreviewTable) shown
// laid out on pages in a print preview with zoom and page navigation, printed
// on the printer chosen in the printer set-up or into a PDF file. Its "返回"
// command raises OnReturn.
//
// pRefresh lays the table out on pages as it is then; nothing is shown until
// pActive is set, which lays the table out first when pRefresh has not.

#include "output/previewtable.h"

#include <QWidget>
#include <memory>

class QAction;
class QLabel;
class QPrintPreviewWidget;
class QPrinter;
class QSpinBox;

class TPPreview final : public QWidget, public PreviewTable {
    Q_OBJECT
public:
    explicit TPPreview(QWidget* parent = nullptr);
    ~TPPreview() override;

    bool pActive() const { return m_active; }
    void setPActive(bool active);
    void pRefresh();

    // The pages of the preview and the one in view (from 1).
    int pageCount() const;
    int currentPage() const;
    // The paper, orientation and margins of the preview; printing uses its
    // orientation.
    QPrinter& pagePrinter() const { return *m_printer; }

    // Prints every page on the printer chosen in the printer set-up (with the
    // preview's orientation), or into a PDF file; false when the printer or the
    // file cannot be written.
    bool PrintToPrinter();
    bool PrintToPdf(const QString& file);

    // The toolbar's "打印" and "输出PDF": print, or ask for a file and print
    // into it, telling the user when that fails.
    void PrintClick();
    void PdfClick();

    QPrintPreviewWidget* Preview;

Q_SIGNALS:
    void OnReturn();

private:
    void layOut();
    void showPageNumber();

    std::unique_ptr<QPrinter> m_printer;
    QSpinBox* m_pageNumber;
    QLabel* m_pageTotal;
    bool m_active = false;
    bool m_laidOut = false;
    bool m_orientationChosen = false; // the orientation was set once, by the table's width or the user
};
