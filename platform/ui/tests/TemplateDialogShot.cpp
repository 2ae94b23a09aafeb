// Builds the parts dialog from its template on a real screen, fills its
// list and writes a picture of it: template-dialog-shot OUTPUT.png
#include "SampleTemplates.h"

#include "ui/Window.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <QWidget>

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    const ui::DialogTemplate t = multPartsTemplate();
    const HWND dlg = ui::createDialog(t, nullptr, nullptr);
    if (!dlg)
        return 1;
    SetDlgItemText(dlg, 205, "/data/bars/B-1042.nc");
    const HWND list = GetDlgItem(dlg, 202);
    const char* titles[] = {"JOB", "GROUP", "MARK"};
    for (int i = 0; i < 3; ++i) {
        LVCOLUMN col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.cx = 150;
        col.pszText = const_cast<char*>(titles[i]);
        ListView_InsertColumn(list, i, &col);
    }
    for (int row = 0; row < 3; ++row) {
        std::string cells[3] = {"1042", "G" + std::to_string(row + 1),
                                "B" + std::to_string(row + 7)};
        LVITEM item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = cells[0].data();
        ListView_InsertItem(list, &item);
        ListView_SetItemText(list, row, 1, cells[1].data());
        ListView_SetItemText(list, row, 2, cells[2].data());
    }
    SetWindowPos(dlg, HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    for (int i = 0; i < 50; ++i) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
    QWidget* widget = ui::windowWidget(dlg);
    const QRect frame = widget->frameGeometry();
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(
        0, frame.x(), frame.y(), frame.width(), frame.height());
    QDir().mkpath(QFileInfo(QString::fromLocal8Bit(argv[1])).absolutePath());
    const bool saved = shot.save(QString::fromLocal8Bit(argv[1]));
    DestroyWindow(dlg);
    return saved ? 0 : 1;
}
