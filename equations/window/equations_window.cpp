// The algebraic-equations page: degree, mode, result type, precision and
// multiplicity; the coefficient grid a_n .. a_0; the solve on the job
// runner with Stop; the roots in the output box.
#include "equations/window/equations_window.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <memory>

#include "equations/equations_page.h"
#include "ui/error_box.h"
#include "ui/form.h"
#include "ui/grid_widget.h"
#include "ui/number_controls.h"
#include "ui/output_box.h"
#include "ui/page_controls.h"
#include "ui/page_run.h"
#include "ui/qt_text.h"

namespace {

constexpr int DEGREE_START = 2;

// A titled group of two radio buttons, the first checked.
QGroupBox* choice(QWidget* parent, int title, int first, int second, QRadioButton** second_button) {
    auto* box = new QGroupBox(ui_qtext(title), parent);
    auto* layout = new QHBoxLayout(box);
    auto* a = new QRadioButton(ui_qtext(first), box);
    *second_button = new QRadioButton(ui_qtext(second), box);
    a->setChecked(true);
    layout->addWidget(a);
    layout->addWidget(*second_button);
    return box;
}

class EquationsForm : public Form {
  public:
    EquationsForm();

  private:
    QLayout* settings_row();
    QLayout* button_row();
    void set_degree(int n);
    void solve();
    void finish();
    void clear();

    NumericUpDownControl* degree_ = nullptr;
    NumericUpDownControl* digits_ = nullptr;
    QRadioButton* complex_ = nullptr;
    QRadioButton* exact_ = nullptr;
    QCheckBox* multiplicity_ = nullptr;
    QLabel* hint_ = nullptr;
    GridWidget* grid_ = nullptr;
    OutputBox* output_ = nullptr;
    StatusLine* status_ = nullptr;
    QPushButton* solve_ = nullptr;
    QPushButton* clear_ = nullptr;
    std::unique_ptr<PageRun> run_;
    std::shared_ptr<EqPageRun> state_ = std::make_shared<EqPageRun>();
    int degree_shown_ = 0;
};

EquationsForm::EquationsForm() : Form(ui_qtext(64), 560, 420) {
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(settings_row());
    hint_ = page_hint(this);
    layout->addWidget(hint_);
    grid_ = coefficient_grid(this, QStringLiteral("a10"));
    grid_->appendColumn(GRID_COLUMN_TEXT, QString());
    grid_->setHeaderHeight(0);
    grid_->setExtendLastColumn(true);
    output_ = new OutputBox(this);
    auto* work = new QHBoxLayout;
    work->addWidget(grid_, 2);
    work->addWidget(output_, 3);
    layout->addLayout(work, 1);
    status_ = new StatusLine(this);
    layout->addWidget(status_);
    layout->addLayout(button_row());
    set_degree(DEGREE_START);
    std::vector<QWidget*> inputs = {degree_, digits_, complex_->parentWidget(), exact_->parentWidget(),
                                    multiplicity_, grid_, clear_};
    run_ = std::make_unique<PageRun>(this, solve_, status_, std::move(inputs));
}

QLayout* EquationsForm::settings_row() {
    auto* row = new QHBoxLayout;
    const LabelledUpDown degree = labelled_up_down(this, 65, EQ_PAGE_DEGREE_MIN, EQ_PAGE_DEGREE_MAX, DEGREE_START);
    degree_ = degree.field;
    degree_->on_change = [this](int n) { set_degree(n); };
    row->addWidget(degree.label);
    row->addWidget(degree_);
    row->addWidget(choice(this, 66, 67, 68, &complex_));
    row->addWidget(choice(this, 69, 70, 71, &exact_));
    const LabelledUpDown digits = labelled_up_down(this, 18, EQ_PAGE_DIGITS_MIN, eq_page_digits_max(DEGREE_START),
                                                   EQ_PAGE_DIGITS_START);
    digits_ = digits.field;
    row->addWidget(digits.label);
    row->addWidget(digits_);
    multiplicity_ = new QCheckBox(ui_qtext(72), this);
    multiplicity_->setChecked(true);
    row->addWidget(multiplicity_);
    row->addStretch();
    return row;
}

QLayout* EquationsForm::button_row() {
    auto* row = new QHBoxLayout;
    solve_ = new QPushButton(ui_qtext(74), this);
    clear_ = new QPushButton(ui_qtext(80), this);
    auto* cancel = new QPushButton(ui_qtext(1), this);
    row->addStretch();
    row->addWidget(solve_);
    row->addWidget(clear_);
    row->addWidget(cancel);
    setDefaultButton(solve_);
    QObject::connect(solve_, &QPushButton::clicked, this, [this] { solve(); });
    QObject::connect(clear_, &QPushButton::clicked, this, [this] { clear(); });
    QObject::connect(cancel, &QPushButton::clicked, this, [this] { close(); });
    return row;
}

// Rows are added or taken away at the top, so a_k keeps its text.
void EquationsForm::set_degree(int n) {
    for (int k = degree_shown_ + 1; k <= n; ++k) grid_->insertRow(0, to_qstring(eq_page_coefficient_name(k)));
    for (int k = degree_shown_; k > n; --k) grid_->deleteRow(0);
    if (degree_shown_ == 0) grid_->appendRow(to_qstring(eq_page_coefficient_name(0)));
    degree_shown_ = n;
    grid_->selectCell(0, 0);
    hint_->setText(to_qstring(eq_page_hint(n)));
    digits_->setMax(eq_page_digits_max(n));
}

void EquationsForm::solve() {
    if (run_->busy()) {
        run_->stop();
        return;
    }
    EqPageRequest request;
    for (i64 r = 0; r <= degree_shown_; ++r) request.coefficients.push_back(from_qstring(grid_->cellText(0, r)));
    request.exact = exact_->isChecked();
    request.real_only = !complex_->isChecked();
    request.digits = digits_->value();
    request.show_multiplicity = multiplicity_->isChecked();
    output_->clear();
    status_->reset();
    if (!eq_page_begin(*state_, request)) {
        showErrorMessage(this);
        return;
    }
    Job job;
    job.work = [state = state_](JobChannel&) { eq_page_run_job(*state, nullptr); };
    job.on_done = [this] { finish(); };
    job.stop = [state = state_] { eq_page_request_stop(*state); };
    if (!run_->start(std::move(job))) finish();
}

void EquationsForm::finish() {
    output_->appendText(to_qstring(eq_page_finish(*state_)));
    showErrorMessage(this);
}

void EquationsForm::clear() {
    for (i64 r = 0; r <= degree_shown_; ++r) grid_->setCellText(0, r, QString());
    output_->clear();
    status_->reset();
}

}  // namespace

Form* equations_window_create() { return new EquationsForm; }
