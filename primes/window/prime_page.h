// What the prime numbers page and the prime factors page share: the start
// number with its digit counter and base, the output box with its status
// line, Start, Stop and Cancel, and the run of the worker on the job runner.
#pragma once

#include <atomic>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

#include "numlib/mp_types.h"
#include "ui/form.h"

class DigitCountControl;
class NumberBaseControl;
class OutputBox;
class PageRun;
class PrimeOutputSink;
class QBoxLayout;
class QLineEdit;
class QPushButton;
class StatusLine;

// The worker call a page prepares: runs on the worker thread with the sink
// that carries its output to the page.
using PrimeWork = std::function<void(PrimeOutputSink&)>;

class PrimePage : public Form {
  public:
    PrimePage(const QString& caption, int width, int height);
    ~PrimePage() override;

    OutputBox* output() const { return output_; }

  protected:
    // The number field (a multi-line edit on the prime numbers page) and
    // the interval field; the page's own controls go into inputs().
    void setFields(QWidget* number, QLineEdit* interval, int interval_slot);
    // The group with the digit counter and the base list.
    QWidget* makeInputOutputGroup();
    // Adds the output box, its status line and the buttons under the page's
    // inputs; controls are the page's own, in reading order (for Tab);
    // locked are those disabled while the worker runs, besides Start and
    // the base.
    void finishLayout(QBoxLayout* inputs, std::initializer_list<QWidget*> controls,
                      std::initializer_list<QWidget*> locked);

    // Reads the inputs (the library's word count set) and returns the
    // worker call, or an empty one with the error pending.
    virtual PrimeWork prepare() = 0;
    // How far the run is, from the worker's last report.
    virtual QString progressText(i64 done) const = 0;
    // Words and text capacity the base change reads the fields with.
    virtual i32 rebaseWords() const = 0;
    virtual i64 rebaseCapacity() const = 0;
    // The application error a pending library error becomes.
    virtual u32 overflowCode() const = 0;

    u32 base() const { return base_; }
    u32 formatFlags() const;
    // The text of a field, read as the page reads it (cut with "…").
    std::u16string fieldText(const QWidget* field, i64 capacity) const;
    static void setFieldText(QWidget* field, const std::u16string& text);
    QWidget* numberField() const { return number_; }
    QLineEdit* intervalField() const { return interval_; }

  private:
    void start();
    void finished();
    void rebase(int base);

    QWidget* number_ = nullptr;
    QLineEdit* interval_ = nullptr;
    DigitCountControl* digits_ = nullptr;
    NumberBaseControl* base_control_ = nullptr;
    OutputBox* output_ = nullptr;
    StatusLine* status_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* stop_ = nullptr;
    std::unique_ptr<PageRun> run_;
    std::shared_ptr<std::atomic<i64>> done_;
    u32 base_ = 10;
};

// A count in the progress text, grouped as the active language groups it.
QString prime_page_count(i64 n);
