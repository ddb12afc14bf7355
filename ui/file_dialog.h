// The file dialog of the pages: one modal call that asks for a file name to
// open or to save, remembering the filter the user chose.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

enum class FileAsk { Open, Save };

// Asks in a modal file dialog over owner. filters are Qt name filters
// ("CSV files (*.csv)"); *filter_index (kept between calls by the caller)
// selects the one offered first and receives the one chosen. start is the
// name proposed. Open accepts only an existing file; Save asks before
// replacing one. Empty when the user cancelled.
QString file_dialog_ask(QWidget* owner, FileAsk ask, const QStringList& filters, int* filter_index,
                        const QString& start);
