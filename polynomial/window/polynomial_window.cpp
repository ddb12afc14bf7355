// The polynomial page: count, maximum degree, number type and precision; the
// grid of P0 .. P11 with the coefficients a20 .. a0; the five operations on
// the job runner with Stop; the result buttons and the clear buttons.
#include "polynomial/window/polynomial_window.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>
#include <memory>

#include "app/app_error.h"
#include "polynomial/poly_page.h"
#include "ui/error_box.h"
#include "ui/form.h"
#include "ui/grid_widget.h"
#include "ui/number_controls.h"
#include "ui/output_box.h"
#include "ui/page_controls.h"
#include "ui/page_run.h"
#include "ui/qt_text.h"

namespace {

// Column of the coefficient of x^k: a20 first.
constexpr i64 column_of(i32 k) { return POLY_MAX_DEGREE - k; }

constexpr std::array<PolyOp, 5> ops = {PolyOp::add, PolyOp::subtract, PolyOp::power, PolyOp::multiply,
                                       PolyOp::divide};
const std::array<const char16_t*, 5> op_captions = {u"+", u"\u2013", u"^", u"*", u"/"};

class PolynomialForm : public Form {
  public:
    PolynomialForm();

  private:
    QLayout* settings_row();
    QLayout* button_rows();
    void set_count(i32 c);
    void set_max_degree(i32 m);
    void read_grid();
    void show_row(i32 row);
    void compute(PolyOp op);
    void finish(const std::shared_ptr<PolyPage>& done, const std::u16string& text);
    void buttons_from_page();

    PolyPage page_;
    LabelledUpDown count_{}, degree_{}, digits_{};
    NumberTypeControl* type_ = nullptr;
    QLabel* hint_ = nullptr;
    GridWidget* grid_ = nullptr;
    OutputBox* output_ = nullptr;
    StatusLine* status_ = nullptr;
    std::array<QPushButton*, 5> op_buttons_{};
    std::array<QPushButton*, 2> result_buttons_{};
    QPushButton* stop_ = nullptr;
    std::vector<QWidget*> inputs_;
    std::unique_ptr<PageRun> run_;
};

PolynomialForm::PolynomialForm() : Form(ui_qtext(88), 640, 480) {
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(settings_row());
    hint_ = page_hint(this);
    layout->addWidget(hint_);
    grid_ = coefficient_grid(this, QStringLiteral("P11(x)"));
    for (i32 k = POLY_MAX_DEGREE; k >= 0; --k) grid_->appendColumn(GRID_COLUMN_TEXT, QStringLiteral("a%1").arg(k));
    layout->addWidget(grid_, 2);
    layout->addLayout(button_rows());
    output_ = new OutputBox(this);
    layout->addWidget(output_, 3);
    status_ = new StatusLine(this);
    layout->addWidget(status_);
    set_count(page_.count());
    set_max_degree(page_.max_degree());
    inputs_.insert(inputs_.end(), {count_.field, degree_.field, type_, digits_.label, digits_.field, grid_});
    run_ = std::make_unique<PageRun>(this, stop_, status_, inputs_);
    run_->on_idle = [this] { buttons_from_page(); };
}

QLayout* PolynomialForm::settings_row() {
    auto* row = new QHBoxLayout;
    count_ = labelled_up_down(this, 89, POLY_PAGE_MIN_COUNT, POLY_PAGE_MAX_COUNT, page_.count());
    count_.field->on_change = [this](int c) { set_count(c); };
    degree_ = labelled_up_down(this, 90, POLY_PAGE_MIN_DEGREE, POLY_MAX_DEGREE, page_.max_degree());
    degree_.field->on_change = [this](int m) { set_max_degree(m); };
    auto* type_label = new QLabel(ui_qtext(78), this);
    type_ = new NumberTypeControl(this);
    type_->selectReal();
    type_label->setBuddy(type_->combo());
    digits_ = labelled_up_down(this, 18, POLY_PAGE_DIGITS_MIN, POLY_PAGE_DIGITS_MAX, page_.digits());
    type_->on_change = [this](int type) {
        page_.set_type(type);
        digits_.label->setEnabled(page_.precision_enabled());
        digits_.field->setEnabled(page_.precision_enabled());
    };
    for (QWidget* w : {static_cast<QWidget*>(count_.label), static_cast<QWidget*>(count_.field),
                       static_cast<QWidget*>(degree_.label), static_cast<QWidget*>(degree_.field),
                       static_cast<QWidget*>(type_label), static_cast<QWidget*>(type_),
                       static_cast<QWidget*>(digits_.label), static_cast<QWidget*>(digits_.field)})
        row->addWidget(w);
    row->addStretch();
    return row;
}

QLayout* PolynomialForm::button_rows() {
    auto* ops_row = new QHBoxLayout;
    auto* row = new QHBoxLayout;
    for (std::size_t i = 0; i < ops.size(); ++i) {
        QPushButton* b = op_buttons_[i] = new QPushButton(QString::fromUtf16(op_captions[i]), this);
        b->setMinimumWidth(b->fontMetrics().height() * 2);
        ops_row->addWidget(b);
        QObject::connect(b, &QPushButton::clicked, this, [this, op = ops[i]] { compute(op); });
    }
    stop_ = new QPushButton(ui_qtext(3), this);
    stop_->setEnabled(false);
    QObject::connect(stop_, &QPushButton::clicked, this, [this] { run_->stop(); });
    ops_row->addWidget(stop_);
    ops_row->addStretch();
    // Reading order: both result buttons, then both clear buttons.
    for (i32 j = 0; j < 2; ++j) {
        QPushButton* result = result_buttons_[static_cast<std::size_t>(j)] =
            new QPushButton(ui_qtext(95).replace(QStringLiteral("%s"), QStringLiteral("P%1").arg(j)), this);
        result->setEnabled(false);
        row->addWidget(result);
        QObject::connect(result, &QPushButton::clicked, this, [this, j] {
            if (!page_.apply_result(j)) return;
            show_row(j);
            if (page_.max_degree() != degree_.field->value()) set_max_degree(page_.max_degree());
        });
    }
    for (i32 j = 0; j < 2; ++j) {
        auto* clear = new QPushButton(ui_qtext(93).replace(QStringLiteral("%s"), QStringLiteral("P%1").arg(j)), this);
        row->addWidget(clear);
        inputs_.push_back(clear);
        QObject::connect(clear, &QPushButton::clicked, this, [this, j] {
            page_.clear_row(j);
            show_row(j);
        });
    }
    auto* clear_all = new QPushButton(ui_qtext(94), this);
    auto* cancel = new QPushButton(ui_qtext(1), this);
    row->addStretch();
    row->addWidget(clear_all);
    row->addWidget(cancel);
    inputs_.insert(inputs_.end(), op_buttons_.begin(), op_buttons_.end());
    inputs_.insert(inputs_.end(), result_buttons_.begin(), result_buttons_.end());
    inputs_.push_back(clear_all);
    QObject::connect(clear_all, &QPushButton::clicked, this, [this] {
        page_.clear_all();
        for (i32 j = 0; j < page_.count(); ++j) show_row(j);
    });
    QObject::connect(cancel, &QPushButton::clicked, this, [this] { close(); });
    auto* rows = new QVBoxLayout;
    rows->addLayout(ops_row);
    rows->addLayout(row);
    return rows;
}

// Rows are added or taken away at the end; "/" and "^" take two operands.
void PolynomialForm::set_count(i32 c) {
    read_grid();
    page_.set_count(c);
    count_.field->setValue(page_.count());
    while (grid_->model().row_count() > page_.count()) grid_->deleteRow(grid_->model().row_count() - 1);
    while (grid_->model().row_count() < page_.count())
        grid_->appendRow(to_qstring(poly_name(static_cast<i32>(grid_->model().row_count()))));
    buttons_from_page();
}

void PolynomialForm::set_max_degree(i32 m) {
    page_.set_max_degree(m);
    degree_.field->setValue(page_.max_degree());
    for (i32 k = 0; k <= POLY_MAX_DEGREE; ++k) grid_->setColumnHidden(column_of(k), k > page_.max_degree());
    grid_->selectCell(column_of(page_.max_degree()), 0);
    hint_->setText(to_qstring(page_.hint()));
}

// The page keeps its own copy of the cells; the grid is what the user edits.
void PolynomialForm::read_grid() {
    for (i32 r = 0; r < page_.count(); ++r)
        for (i32 k = 0; k <= POLY_MAX_DEGREE; ++k) page_.set_cell(r, k, from_qstring(grid_->cellText(column_of(k), r)));
}

void PolynomialForm::show_row(i32 row) {
    for (i32 k = 0; k <= POLY_MAX_DEGREE; ++k) grid_->setCellText(column_of(k), row, to_qstring(page_.cell(row, k)));
}

void PolynomialForm::buttons_from_page() {
    for (std::size_t i = 0; i < ops.size(); ++i) op_buttons_[i]->setEnabled(page_.op_enabled(ops[i]));
    for (QPushButton* b : result_buttons_) b->setEnabled(page_.results_enabled());
}

// The operation runs on a copy of the page, which comes back with the
// saved result when it ends.
void PolynomialForm::compute(PolyOp op) {
    if (run_->busy() || !page_.op_enabled(op)) return;
    read_grid();
    page_.set_type(type_->type());
    page_.set_digits(digits_.field->value());
    output_->clear();
    status_->reset();
    auto copy = std::make_shared<PolyPage>(page_);
    auto text = std::make_shared<std::u16string>();
    Job job;
    job.work = [copy, text, op](JobChannel&) { *text = copy->run(op); };
    job.on_done = [this, copy, text] { finish(copy, *text); };
    job.stop = library_stop_request;
    if (!run_->start(std::move(job))) showErrorMessage(this);
}

void PolynomialForm::finish(const std::shared_ptr<PolyPage>& done, const std::u16string& text) {
    page_ = *done;
    // A stop that came after the result was complete stops nothing.
    if (run_->stopped() && !page_.results_enabled()) {
        clearErrors();
        return;
    }
    output_->appendText(to_qstring(text));
    showErrorMessage(this);
}

}  // namespace

Form* polynomial_window_create() { return new PolynomialForm; }
