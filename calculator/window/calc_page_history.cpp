// The calculator page's history: the list under the result, reusing its
// entries, walking earlier formulas with Up and Down, copying and keeping it.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDateTime>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/app_error.h"
#include "app/ui_texts.h"
#include "calculator/calc.h"
#include "calculator/calc_texts.h"
#include "calculator/window/calc_fields.h"
#include "calculator/window/calc_page.h"
#include "ui/qt_text.h"

namespace {

// Longest text a list row shows; the whole entry is its tooltip.
constexpr qsizetype ROW_CHARS = 300;

QListWidgetItem* rowOf(const CalcHistoryEntry& e) {
    const QString line = to_qstring(calcHistoryLine(e));
    auto* item = new QListWidgetItem(line.size() > ROW_CHARS ? line.left(ROW_CHARS - 1) + QChar(0x2026) : line);
    if (line.size() > ROW_CHARS) item->setToolTip(line.left(4000));
    return item;
}

// When the last double click on an entry happened: the click Qt may report
// after it must not put the formula back again.
qint64 lastDoubleClick = 0;

}  // namespace

void CalcPage::buildHistory(QWidget* box) {
    const i32 lang = ui_language;
    showHistory_ = new QCheckBox(to_qstring(calcText(CalcText::ShowHistory, lang)), box);
    showHistory_->setChecked(history_.shown);
    copyHistory_ = new QPushButton(to_qstring(calcText(CalcText::CopyHistory, lang)), box);
    copyHistory_->setAutoDefault(false);
    historyList_ = new QListWidget(box);
    historyList_->setAccessibleName(to_qstring(calcText(CalcText::History, lang)));
    historyList_->setUniformItemSizes(true);
    historyList_->setMinimumHeight(historyList_->fontMetrics().lineSpacing() * 5);
    auto* row = new QHBoxLayout;
    row->addWidget(showHistory_);
    row->addStretch();
    row->addWidget(copyHistory_);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(row);
    layout->addWidget(historyList_, 1);

    connect(showHistory_, &QCheckBox::toggled, this, [this](bool on) { historyShow(on); });
    connect(copyHistory_, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(to_qstring(calcHistoryText(history_))); });
    connect(historyList_, &QListWidget::itemClicked, this, [this](QListWidgetItem* i) { historyClicked(i); });
    connect(historyList_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* i) { historyDoubleClicked(i); });
    historyRefill();
    historyList_->setVisible(history_.shown);
}

void CalcPage::historyRefill() {
    historyList_->clear();
    for (const CalcHistoryEntry& e : history_.entries) historyList_->addItem(rowOf(e));
    historyList_->scrollToBottom();
}

void CalcPage::historyAdd() {
    std::u16string result = calcResultCopyText(*s_);
    clearErrors();
    if (result.empty()) result = s_->resultText;
    if (s_->formula.empty() || result.empty()) return;
    if (static_cast<i64>(history_.entries.size()) == CALC_HISTORY_MAX)
        delete historyList_->takeItem(0);  // the oldest makes room
    calcHistoryAdd(history_, s_->formula, result);
    historyList_->addItem(rowOf(history_.entries.back()));
    historyList_->scrollToBottom();
    historySave();
}

void CalcPage::historySave() {
    // A history that cannot be written stays in the window; nothing else
    // depends on the file.
    calcHistorySave(history_, historyPath_);
}

void CalcPage::historyShow(bool shown) {
    history_.shown = shown;
    historyList_->setVisible(shown);
    historySave();
}

void CalcPage::historyClicked(QListWidgetItem* item) {
    const int row = historyList_->row(item);
    if (busy() || row < 0 || row >= static_cast<int>(history_.entries.size())) return;
    if (QDateTime::currentMSecsSinceEpoch() - lastDoubleClick < QApplication::doubleClickInterval()) return;
    beforeClick_ = formula_->text();
    beforeClickCaret_ = formula_->cursorPosition();
    formula_->setText(to_qstring(history_.entries[static_cast<std::size_t>(row)].formula));
    walk_ = -1;
    formulaToState();
    formula_->setFocus(Qt::OtherFocusReason);
}

void CalcPage::historyDoubleClicked(QListWidgetItem* item) {
    const int row = historyList_->row(item);
    if (busy() || row < 0 || row >= static_cast<int>(history_.entries.size())) return;
    lastDoubleClick = QDateTime::currentMSecsSinceEpoch();
    formula_->setText(beforeClick_);
    formula_->setCursorPosition(beforeClickCaret_);
    formula_->insert(to_qstring(history_.entries[static_cast<std::size_t>(row)].result));
    walk_ = -1;
    formulaToState();
    formula_->setFocus(Qt::OtherFocusReason);
}

// Up (-1) and Down (+1) in an empty field, or one that still shows the
// formula just evaluated or the entry the walk put in.
bool CalcPage::historyWalk(int step) {
    if (busy() || history_.entries.empty()) return false;
    const QString now = formula_->text();
    const bool walking = walk_ >= 0 && now == walkText_;
    if (!walking && !now.isEmpty() && now != lastEvaluated_) return false;
    if (!walking && step > 0) return false;
    const int count = static_cast<int>(history_.entries.size());
    int i = (walking ? walk_ : count) + step;
    if (!walking && i >= 0 && to_qstring(history_.entries[static_cast<std::size_t>(i)].formula) == now) --i;
    if (i < 0) return true;  // the oldest stays
    if (i >= count) {
        walk_ = -1;
        formula_->clear();
        formulaToState();
        return true;
    }
    walk_ = i;
    walkText_ = to_qstring(history_.entries[static_cast<std::size_t>(i)].formula);
    formula_->setText(walkText_);
    formulaToState();
    return true;
}
