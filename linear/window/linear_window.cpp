// The linear-systems page: equation count, number type and precision; the
// grid of up to 25 equations; Solve and Stop on the job runner, Clear, Load
// and Save as with the CSV files.
#include "linear/window/linear_window.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>

#include "app/app_error.h"
#include "linear/linear_csv.h"
#include "linear/linear_page.h"
#include "linear/window/linear_window_cells.h"
#include "ui/error_box.h"
#include "ui/file_dialog.h"
#include "ui/form.h"
#include "ui/grid_widget.h"
#include "ui/number_controls.h"
#include "ui/output_box.h"
#include "ui/page_controls.h"
#include "ui/page_run.h"
#include "ui/qt_text.h"

namespace {

constexpr int COUNT_START = 2;

class LinearForm : public Form {
  public:
    LinearForm();

  private:
    QLayout* settings_row();
    QLayout* button_row();
    void set_count(i32 n);
    void solve();
    void load();
    void save();
    QStringList filters() const;

    NumericUpDownControl* count_ = nullptr;
    NumberTypeControl* type_ = nullptr;
    LabelledUpDown digits_{};
    GridWidget* grid_ = nullptr;
    OutputBox* output_ = nullptr;
    StatusLine* status_ = nullptr;
    QPushButton* solve_ = nullptr;
    std::vector<QWidget*> inputs_;
    std::unique_ptr<PageRun> run_;
    std::unique_ptr<GridCells> cells_;
    std::shared_ptr<std::u16string> result_ = std::make_shared<std::u16string>();
    QString save_name_;
    int open_filter_ = 0, save_filter_ = 0;
};

LinearForm::LinearForm() : Form(ui_qtext(76), 640, 460) {
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(settings_row());
    layout->addWidget(page_hint(this, ui_qtext(79)));
    grid_ = coefficient_grid(this, QStringLiteral("25"));
    for (i32 j = 0; j < LINEAR_GRID_COLUMNS; ++j)
        grid_->appendColumn(GRID_COLUMN_TEXT, to_qstring(linear_column_name(j, LINEAR_COLUMN_B)));
    layout->addWidget(grid_, 3);
    output_ = new OutputBox(this);
    layout->addWidget(output_, 2);
    status_ = new StatusLine(this);
    layout->addWidget(status_);
    layout->addLayout(button_row());
    cells_ = std::make_unique<GridCells>(grid_, [this](i32 n) { set_count(n); });
    set_count(COUNT_START);
    inputs_.insert(inputs_.begin(), {count_, type_, digits_.label, digits_.field, grid_});
    run_ = std::make_unique<PageRun>(this, solve_, status_, inputs_);
}

QLayout* LinearForm::settings_row() {
    auto* row = new QHBoxLayout;
    const LabelledUpDown count = labelled_up_down(this, 77, LINEAR_MIN_EQUATIONS, LINEAR_MAX_EQUATIONS, COUNT_START);
    count_ = count.field;
    count_->on_change = [this](int n) { set_count(n); };
    row->addWidget(count.label);
    row->addWidget(count_);
    auto* type_label = new QLabel(ui_qtext(78), this);
    type_ = new NumberTypeControl(this);
    type_->selectReal();
    type_label->setBuddy(type_->combo());
    row->addWidget(type_label);
    row->addWidget(type_);
    digits_ = labelled_up_down(this, 18, LINEAR_DIGITS_MIN, LINEAR_DIGITS_MAX, 10);
    type_->on_change = [this](int type) {
        digits_.label->setEnabled(type != MP_TYPE_RAT);
        digits_.field->setEnabled(type != MP_TYPE_RAT);
    };
    row->addWidget(digits_.label);
    row->addWidget(digits_.field);
    row->addStretch();
    return row;
}

QLayout* LinearForm::button_row() {
    auto* row = new QHBoxLayout;
    solve_ = new QPushButton(ui_qtext(74), this);
    auto* clear = new QPushButton(ui_qtext(80), this);
    auto* load = new QPushButton(ui_qtext(81), this);
    auto* save = new QPushButton(ui_qtext(82), this);
    auto* cancel = new QPushButton(ui_qtext(1), this);
    for (QPushButton* b : {solve_, clear, load, save, cancel}) row->addWidget(b);
    row->insertStretch(4);
    setDefaultButton(solve_);
    inputs_ = {clear, load, save};
    QObject::connect(solve_, &QPushButton::clicked, this, [this] { solve(); });
    QObject::connect(clear, &QPushButton::clicked, this, [this] {
        cells_->clear();
        output_->clear();
        status_->reset();
    });
    QObject::connect(load, &QPushButton::clicked, this, [this] { this->load(); });
    QObject::connect(save, &QPushButton::clicked, this, [this] { this->save(); });
    QObject::connect(cancel, &QPushButton::clicked, this, [this] { close(); });
    return row;
}

// Rows are added or taken away at the end; the columns of unknowns beyond
// N are hidden (b stays in column 25).
void LinearForm::set_count(i32 n) {
    count_->setValue(n);
    while (grid_->model().row_count() > n) grid_->deleteRow(grid_->model().row_count() - 1);
    while (grid_->model().row_count() < n) grid_->appendRow(QString::number(grid_->model().row_count() + 1));
    for (i32 j = 0; j < LINEAR_COLUMN_B; ++j) grid_->setColumnHidden(j, j >= n);
    grid_->selectCell(0, 0);
}

void LinearForm::solve() {
    if (run_->busy()) {
        run_->stop();
        return;
    }
    output_->clear();
    status_->reset();
    auto cells = std::make_shared<LinearGridModel>();
    cells_->copy_to(*cells);
    LinearSolveRequest request;
    request.equations = cells->equation_count();
    request.type = type_->type();
    request.digits = digits_.field->value();
    Job job;
    job.work = [cells, request, result = result_](JobChannel&) { *result = linear_solve_cells(*cells, request); };
    job.on_done = [this] {
        if (run_->stopped()) {
            clearErrors();  // what the stop broke off is no error of the input
            return;
        }
        output_->appendText(to_qstring(*result_));
        showErrorMessage(this);
    };
    job.stop = library_stop_request;
    if (!run_->start(std::move(job))) showErrorMessage(this);
}

QStringList LinearForm::filters() const {
    return {ui_qtext(86) + QStringLiteral(" (*.csv)"), ui_qtext(87) + QStringLiteral(" (*)")};
}

void LinearForm::load() {
    const QString path = file_dialog_ask(this, FileAsk::Open, filters(), &open_filter_, QString());
    if (path.isEmpty()) return;
    clearErrors();
    output_->clear();
    status_->reset();
    linear_csv_read(from_qstring(path), *cells_);
    grid_->selectCell(0, 0);
    showErrorMessage(this);
}

void LinearForm::save() {
    QString path = file_dialog_ask(this, FileAsk::Save, filters(), &save_filter_, save_name_);
    if (path.isEmpty()) return;
    if (!path.mid(path.lastIndexOf(u'/') + 1).contains(u'.')) path += QStringLiteral(".csv");
    clearErrors();
    if (linear_csv_write(from_qstring(path), *cells_)) save_name_ = path;
    showErrorMessage(this);
}

}  // namespace

Form* linear_window_create() { return new LinearForm; }
