#include "ui/file_dialog.h"

#include <QFileDialog>

QString file_dialog_ask(QWidget* owner, FileAsk ask, const QStringList& filters, int* filter_index,
                        const QString& start) {
    QFileDialog dialog(owner);
    dialog.setAcceptMode(ask == FileAsk::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(ask == FileAsk::Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    const int index = filter_index != nullptr ? *filter_index : 0;
    if (index >= 0 && index < filters.size()) dialog.selectNameFilter(filters[index]);
    if (!start.isEmpty()) dialog.selectFile(start);
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return {};
    const qsizetype picked = filters.indexOf(dialog.selectedNameFilter());
    if (filter_index != nullptr && picked >= 0) *filter_index = static_cast<int>(picked);
    return chosen.front();
}
